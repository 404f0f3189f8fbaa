#!/usr/bin/env bash
# Idle cost under Wine: CPU time of dayvane.exe and the Wine server, beside a minimal window with the same 10 ms timer.
#   bench/idle.sh [BUILD]    BUILD is the native build folder (default: build)
#   IDLE_SECONDS   length of each measured window in seconds (default 30)
#   IDLE_RUNS      measured windows of each program, taken in turns; the median is shown (default 5)
set -euo pipefail
shopt -s inherit_errexit

seconds=${IDLE_SECONDS:-30}
runs=${IDLE_RUNS:-5}
# Measuring starts this long after the program's window is up, so the start-up's work is left out.
settle=2

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "idle: no build folder '${1:-build}'; run make build first" >&2; exit 1; }
bin=$build/windows/bin
session=$root/scripts/wine-session.sh
state=$build/bench-session
prefix=$build/wine-prefix
ticksPerSecond=$(getconf CLK_TCK)
source "$root/bench/fragment.sh"
source "$root/bench/programs.sh"
fragment_begin "$build" idle

work=""
probe=""
cleanup() {
    local status=$?
    # The probe runs under timeout, so waiting for it is bounded; stopping the session ends
    # every Wine process of the prefix, the measured program too if the probe could not close it.
    if [ -n "$probe" ]; then
        kill "$probe" 2>/dev/null || true
        wait "$probe" 2>/dev/null || true
    fi
    "$session" stop "$state" "$prefix" || true
    [ -z "$work" ] || rm -rf "$work"
    fragment_end "$status"
}
trap cleanup EXIT

[[ $seconds =~ ^[1-9][0-9]*$ ]] || fail "idle: IDLE_SECONDS must be a whole number of seconds, not '$seconds'"
[[ $runs =~ ^[1-9][0-9]*$ ]] || fail "idle: IDLE_RUNS must be a positive whole number, not '$runs'"

require_programs "$bin" idle IdleProbe.exe MinimalWindow.exe FloorWindow.exe FloorTrayWindow.exe dayvane.exe

work=$(mktemp -d "${TMPDIR:-/tmp}/dayvane-idle.XXXXXX")

# utime + stime of a process in clock ticks (fields 14 and 15 of /proc/PID/stat, counted
# after the parenthesised name, which may hold spaces). For a process they cover all its threads.
cpu_ticks() { # PID
    local stat fields
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || fail "idle: process $1 has gone"
    read -r -a fields <<<"${stat##*) }"
    echo $((fields[11] + fields[12]))
}

# Wine runs each Windows process as a Linux process of its own, which is not the probe's child
# (its parent is init), and rewrites its Linux command line to the Windows one, whose first
# argument is the program's Windows path. Each program runs from a folder of its own, so that
# path picks out exactly one process, even beside other builds' copies of the program.
program_pid() { # WINDOWS_PATH
    local dir arg0
    for dir in /proc/[0-9]*; do
        arg0=""
        IFS= read -r -d '' arg0 2>/dev/null <"$dir/cmdline" || true
        if [ "$arg0" = "$1" ]; then
            echo "${dir#/proc/}"
            return 0
        fi
    done
    fail "idle: no Linux process runs $1"
}

# Other builds may have Wine servers running. A server works in a folder named after the
# device and inode of its prefix (server-DEV-INODE, in hex), which picks out this prefix's one.
wineserver_pid() {
    local device inode want pid cwd
    read -r device inode < <(stat -c '%d %i' "$prefix")
    want=$(printf 'server-%x-%x' "$device" "$inode")
    for pid in $(pgrep wineserver || true); do
        cwd=$(readlink "/proc/$pid/cwd" 2>/dev/null) || continue
        if [ "${cwd##*/}" = "$want" ]; then
            echo "$pid"
            return 0
        fi
    done
    fail "idle: no Wine server runs for $prefix"
}

# One measurement: the program starts in a fresh folder (the calendar keeps its data beside
# its exe), the probe says when its window is up, and after the settling time the CPU time
# of the program and of the Wine server is taken at the start and at the end of the window.
# The probe then closes the window as Escape does, which writes nothing.
# Sets programSeconds and serverSeconds.
measure_once() { # EXE [ARGUMENT]
    local exe=$1 dir fifo input rc winPath pid server p0 s0 p1 s1
    dir=$(mktemp -d "$work/idle.XXXXXX")
    copy_program "$bin" "$exe" "$dir"
    fifo=$work/${dir##*/}.in
    mkfifo "$fifo"
    # Opened both ways, the pipe opens at once at either end. The probe does not keep this
    # end, so it reads the end of its input if this script goes away.
    exec {input}<>"$fifo"
    timeout $((settle + seconds + 60)) "$session" run "$state" "$prefix" "$bin/IdleProbe.exe" "$dir/$exe" "${@:2}" \
        <"$fifo" >"$work/probe.out" 2>"$work/probe.err" {input}>&- &
    probe=$!

    for _ in $(seq 300); do
        grep -q '^ready' "$work/probe.out" && break
        kill -0 "$probe" 2>/dev/null || break
        sleep 0.1
    done
    if ! grep -q '^ready' "$work/probe.out"; then
        cat "$work/probe.err" >&2
        fail "idle: the window of $exe did not come up: $(tr -d '\r' <"$work/probe.err" | head -n 1)"
    fi

    winPath="Z:${dir//\//\\}\\$exe"
    pid=$(program_pid "$winPath")
    server=$(wineserver_pid)
    sleep "$settle"
    p0=$(cpu_ticks "$pid")
    s0=$(cpu_ticks "$server")
    sleep "$seconds"
    p1=$(cpu_ticks "$pid")
    s1=$(cpu_ticks "$server")
    [ "$(wineserver_pid)" = "$server" ] || fail "idle: the Wine server changed during the measurement"

    echo close >&"$input"
    exec {input}>&-
    rc=0
    wait "$probe" || rc=$?
    probe=""
    if [ "$rc" -ne 0 ]; then
        cat "$work/probe.err" >&2
        fail "idle: $exe did not close cleanly: $(tr -d '\r' <"$work/probe.err" | head -n 1)"
    fi
    rm -rf "$dir" "$fifo"
    programSeconds=$(awk -v n=$((p1 - p0)) -v t="$ticksPerSecond" 'BEGIN { printf "%.2f", n / t }')
    serverSeconds=$(awk -v n=$((s1 - s0)) -v t="$ticksPerSecond" 'BEGIN { printf "%.2f", n / t }')
}

sum() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a + b }'; }

median_of() { # ARRAY_NAME
    local -n values=$1
    printf '%s\n' "${values[@]}" | sort -n |
        awk '{ v[NR] = $1 } END { printf "%.2f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

echo "Starting the Wine session for the idle measurement..."
"$session" start "$state" "$prefix"

echo "Measuring $runs windows of $seconds s of each program, in turns..."
minProgram=() minServer=() minTotal=() dayProgram=() dayServer=() dayTotal=()
floorProgram=() floorServer=() floorTotal=() trayTotal=()
for i in $(seq "$runs"); do
    measure_once MinimalWindow.exe timer
    minProgram+=("$programSeconds") minServer+=("$serverSeconds") minTotal+=("$(sum "$programSeconds" "$serverSeconds")")
    measure_once FloorWindow.exe timer
    floorProgram+=("$programSeconds") floorServer+=("$serverSeconds")
    floorTotal+=("$(sum "$programSeconds" "$serverSeconds")")
    measure_once FloorTrayWindow.exe timer
    trayTotal+=("$(sum "$programSeconds" "$serverSeconds")")
    measure_once dayvane.exe
    dayProgram+=("$programSeconds") dayServer+=("$serverSeconds") dayTotal+=("$(sum "$programSeconds" "$serverSeconds")")
    echo "  window $i: minimal ${minTotal[-1]} s (${minProgram[-1]} + ${minServer[-1]})," \
        "floor ${floorTotal[-1]} s (${floorProgram[-1]} + ${floorServer[-1]}), floor with the tray icon ${trayTotal[-1]} s," \
        "dayvane ${dayTotal[-1]} s (${dayProgram[-1]} + ${dayServer[-1]})"
done

# Each column is its own median, so a row's total need not be the sum of the two beside it.
minMedian=$(median_of minTotal)
floorMedian=$(median_of floorTotal)
trayMedian=$(median_of trayTotal)
dayMedian=$(median_of dayTotal)
echo
echo "CPU time under Wine while the window sits idle for $seconds s, median of $runs windows (s)"
printf '%-16s %10s %12s %10s\n' "" program wineserver total
printf '%-16s %10s %12s %10s\n' "minimal window" "$(median_of minProgram)" "$(median_of minServer)" "$minMedian"
printf '%-16s %10s %12s %10s\n' "floor" "$(median_of floorProgram)" "$(median_of floorServer)" "$floorMedian"
printf '%-16s %10s %12s %10s\n' "floor + tray" "" "" "$trayMedian"
printf '%-16s %10s %12s %10s\n' "dayvane" "$(median_of dayProgram)" "$(median_of dayServer)" "$dayMedian"
awk -v a="$dayMedian" -v b="$minMedian" 'BEGIN {
    if (b > 0)
        printf "%-16s %9.2fx  (totals; target: within 1.2x, %s)\n", "dayvane/minimal", a / b, (a / b <= 1.2) ? "met" : "not met"
    else
        printf "%-16s %10s  (the minimal window used no measurable CPU time)\n", "dayvane/minimal", "n/a"
}'

fragment_row "idle CPU over $seconds s, program + wineserver (median of $runs)" "$dayMedian s" "$minMedian s" \
    "$(ratio "$dayMedian" "$minMedian")" "≤ 1.2x" "$(ratio_within "$dayMedian" "$minMedian" 1.2)"
fragment_row "idle CPU over $seconds s against the floor, program + wineserver (median of $runs)" "$dayMedian s" \
    "$floorMedian s" "$(ratio "$dayMedian" "$floorMedian")" "≤ 1.1x" "$(ratio_within "$dayMedian" "$floorMedian" 1.1)"
fragment_row "idle CPU over $seconds s against the floor with the program's tray icon (median of $runs)" "$dayMedian s" \
    "$trayMedian s" "$(ratio "$dayMedian" "$trayMedian")" "none" "n/a"
