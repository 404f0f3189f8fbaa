#!/usr/bin/env bash
# Peak working set under Wine: dayvane.exe against a minimal Win32 window, each read a few seconds after its window is up.
#   bench/memory.sh [BUILD]    BUILD is the native build folder (default: build)
#   BENCH_DPI     the display scale the programs run at (default 96); at another one, only the
#                 row against the floor, which is per-monitor aware as the program is
#   MEMORY_RUNS   starts of each program, taken in turns; the median is shown (default 3)
set -euo pipefail
shopt -s inherit_errexit

runs=${MEMORY_RUNS:-3}
# The figure is read this long after the window is up, when the start-up's work is done.
settle=3

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "memory: no build folder '${1:-build}'; run make build first" >&2; exit 1; }
bin=$build/windows/bin
session=$root/scripts/wine-session.sh
state=$build/bench-session
prefix=$build/wine-prefix
source "$root/bench/fragment.sh"
source "$root/bench/programs.sh"
dpi=${BENCH_DPI:-96}
[[ $dpi =~ ^[0-9]+$ ]] || { echo "memory: BENCH_DPI must be a number of dots per inch" >&2; exit 2; }
if [ "$dpi" = 96 ]; then
    fragment_begin "$build" memory
    atScale=""
else
    fragment_begin "$build" "memory-$dpi"
    atScale=" at $dpi DPI"
fi

work=""
probePid=""
cleanup() {
    local status=$?
    # Stopping the session ends every Wine process of the prefix, a program the probe could not close too.
    if [ -n "$probePid" ]; then
        kill "$probePid" 2>/dev/null || true
        wait "$probePid" 2>/dev/null || true
    fi
    [ "$dpi" = 96 ] || set_display_scale "$session" "$state" "$prefix" 96 || true
    "$session" stop "$state" "$prefix" || true
    [ -z "$work" ] || rm -rf "$work"
    fragment_end "$status"
}
trap cleanup EXIT

[[ $runs =~ ^[1-9][0-9]*$ ]] || fail "memory: MEMORY_RUNS must be a positive whole number, not '$runs'"

require_programs "$bin" memory IdleProbe.exe MinimalWindow.exe FloorWindow.exe dayvane.exe

work=$(mktemp -d "${TMPDIR:-/tmp}/dayvane-memory.XXXXXX")

# One start from a fresh folder (the calendar keeps its data beside its exe): IdleProbe says
# when the window is up, and at a line gives the peak working set and closes the window as
# Escape does, which writes nothing. Sets peakBytes.
measure_once() { # EXE [ARGUMENT]
    local exe=$1 dir line rc
    dir=$(mktemp -d "$work/memory.XXXXXX")
    copy_program "$bin" "$exe" "$dir"
    coproc PROBE { timeout $((settle + 60)) "$session" run "$state" "$prefix" "$bin/IdleProbe.exe" "$dir/$exe" "${@:2}" \
        2>"$dir/probe.err"; }
    # Bash forgets the coprocess's id once it has ended.
    probePid=$PROBE_PID
    line=""
    while [ "$line" != ready ] && IFS= read -r -t 30 line <&"${PROBE[0]}"; do
        line=${line%$'\r'}
    done
    [ "$line" = ready ] || fail "memory: the window of $exe did not come up: $(tr -d '\r' <"$dir/probe.err" | head -n 1)"
    sleep "$settle"
    echo close >&"${PROBE[1]}"
    # Read up to the figure only: a Wine process that the probe's start left running may hold
    # the other end of the pipe open.
    peakBytes=""
    while [ -z "$peakBytes" ] && IFS= read -r -t 30 line <&"${PROBE[0]}"; do
        line=${line%$'\r'}
        [[ $line =~ ^peak\ working\ set:\ ([0-9]+)\ bytes$ ]] && peakBytes=${BASH_REMATCH[1]}
    done
    rc=0
    wait "$probePid" || rc=$?
    probePid=""
    [ "$rc" -eq 0 ] || fail "memory: $exe did not close cleanly: $(tr -d '\r' <"$dir/probe.err" | head -n 1)"
    [ -n "$peakBytes" ] || fail "memory: no peak working set was read for $exe"
    rm -rf "$dir"
}

mib() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }

# min median max of the numbers on stdin
summary() {
    sort -n | awk '{ v[NR] = $1 }
        END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              printf "%d %d %d\n", v[1], m, v[NR] }'
}

echo "Starting the Wine session for the memory measurement..."
"$session" start "$state" "$prefix"
set_display_scale "$session" "$state" "$prefix" "$dpi"

echo "Reading the peak working set $settle s after the window is up, $runs starts of each program, in turns..."
minimal=() floor=() dayvane=()
for i in $(seq "$runs"); do
    measure_once MinimalWindow.exe timer
    minimal+=("$peakBytes")
    measure_once FloorWindow.exe timer
    floor+=("$peakBytes")
    measure_once dayvane.exe
    dayvane+=("$peakBytes")
    echo "  start $i: minimal $(mib "${minimal[-1]}") MiB, floor $(mib "${floor[-1]}") MiB, dayvane $(mib "${dayvane[-1]}") MiB"
done

read -r minMin minMed minMax < <(printf '%s\n' "${minimal[@]}" | summary)
read -r floorMin floorMed floorMax < <(printf '%s\n' "${floor[@]}" | summary)
read -r dayMin dayMed dayMax < <(printf '%s\n' "${dayvane[@]}" | summary)
echo
echo "Peak working set under Wine, $runs starts each (MiB; the Linux process's high-water mark, Wine's own libraries included)"
printf '%-16s %8s %8s %8s\n' "" min median max
printf '%-16s %8s %8s %8s\n' "minimal window" "$(mib "$minMin")" "$(mib "$minMed")" "$(mib "$minMax")"
printf '%-16s %8s %8s %8s\n' "floor" "$(mib "$floorMin")" "$(mib "$floorMed")" "$(mib "$floorMax")"
printf '%-16s %8s %8s %8s\n' "dayvane" "$(mib "$dayMin")" "$(mib "$dayMed")" "$(mib "$dayMax")"
printf '%-16s %8s  (medians; dayvane - minimal: %s MiB)\n' "dayvane/minimal" "$(ratio "$dayMed" "$minMed")" \
    "$(mib $((dayMed - minMed)))"

if [ -n "$atScale" ]; then
    fragment_row "peak working set against the floor$atScale (median of $runs starts)" "$(mib "$dayMed") MiB" \
        "$(mib "$floorMed") MiB" "$(ratio "$dayMed" "$floorMed")" "≤ 1.1x" "$(ratio_within "$dayMed" "$floorMed" 1.1)"
    exit 0
fi
fragment_row "peak working set (median of $runs starts)" "$(mib "$dayMed") MiB" "$(mib "$minMed") MiB" \
    "$(ratio "$dayMed" "$minMed")" "none" "n/a"
fragment_row "peak working set against the floor (median of $runs starts)" "$(mib "$dayMed") MiB" "$(mib "$floorMed") MiB" \
    "$(ratio "$dayMed" "$floorMed")" "≤ 1.1x" "$(ratio_within "$dayMed" "$floorMed" 1.1)"
fragment_note "Peak working set: under Wine it is the high-water mark of the program's Linux process, Wine's own libraries included, which both figures share; the difference, $(mib $((dayMed - minMed))) MiB, is the program with the further system libraries it loads (common controls, shell, themes)."
