#!/usr/bin/env bash
# Start-up time under Wine: dayvane.exe against a minimal Win32 window and against the floor (the
# program's own dialogs and controls with nothing behind them), process start to first paint.
#   bench/startup.sh [BUILD]    BUILD is the native build folder (default: build)
#   BENCH_DPI     the display scale the programs run at (default 96); at another one, only the
#                 row against the floor, which is per-monitor aware as the program is
set -euo pipefail
shopt -s inherit_errexit

# One start under Wine can take 15% more or less than the next; 21 starts of each program,
# taken in turns, keep the medians and so the ratios steady from run to run.
runs=21
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "startup: no build folder '${1:-build}'; run make build first" >&2; exit 1; }
bin=$build/windows/bin
session=$root/scripts/wine-session.sh
state=$build/bench-session
prefix=$build/wine-prefix
source "$root/bench/fragment.sh"
source "$root/bench/programs.sh"
dpi=${BENCH_DPI:-96}
[[ $dpi =~ ^[0-9]+$ ]] || { echo "startup: BENCH_DPI must be a number of dots per inch" >&2; exit 2; }
if [ "$dpi" = 96 ]; then
    fragment_begin "$build" startup
    atScale=""
else
    fragment_begin "$build" "startup-$dpi"
    atScale=" at $dpi DPI"
fi

work=""
cleanup() {
    local status=$?
    [ "$dpi" = 96 ] || set_display_scale "$session" "$state" "$prefix" 96 || true
    "$session" stop "$state" "$prefix" || true
    [ -z "$work" ] || rm -rf "$work"
    fragment_end "$status"
}
trap cleanup EXIT

require_programs "$bin" startup StartupProbe.exe MinimalWindow.exe FloorWindow.exe FloorTrayWindow.exe dayvane.exe

work=$(mktemp -d "${TMPDIR:-/tmp}/dayvane-bench.XXXXXX")

# One start: a fresh folder holding only the program, since the calendar keeps its data beside its exe.
# Prints the milliseconds to the first paint.
start_once() { # EXE MODE
    local dir out ms
    dir=$(mktemp -d "$work/start.XXXXXX")
    copy_program "$bin" "$1" "$dir"
    if ! out=$(timeout 60 "$session" run "$state" "$prefix" "$bin/StartupProbe.exe" "$dir/$1" "$2" 2>"$dir/probe.err"); then
        cat "$dir/probe.err" >&2
        fail "startup: $1 failed to start and paint: $(tr -d '\r' <"$dir/probe.err" | head -n 1)"
    fi
    cat "$dir/probe.err" >&2
    ms=$(printf '%s\n' "$out" | tr -d '\r' | tail -n 1)
    [[ $ms =~ ^[0-9]+(\.[0-9]+)?$ ]] || fail "startup: $1: unexpected probe output: $out"
    rm -rf "$dir"
    echo "$ms"
}

# min median max of the numbers on stdin
summary() {
    sort -n | awk '{ v[NR] = $1 }
        END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              printf "%.1f %.1f %.1f\n", v[1], m, v[NR] }'
}

echo "Starting the Wine session (the first time also creates the prefix)..."
"$session" start "$state" "$prefix"
set_display_scale "$session" "$state" "$prefix" "$dpi"

# The first start of each loads the Wine DLLs and the program from disk; it is not counted.
start_once MinimalWindow.exe exit >/dev/null
start_once FloorWindow.exe strip >/dev/null
start_once FloorTrayWindow.exe strip >/dev/null
start_once dayvane.exe paint >/dev/null

# What a start leaves behind weighs on the next one: a balloon closing in Wine's notification
# area, files being flushed. Each round takes the programs in an order of its own, shuffled
# (the same shuffles every run), so that no program always follows the same one.
RANDOM=28
minimal=() floor=() floorTray=() dayvane=()
for i in $(seq "$runs"); do
    order=(0 1 2 3)
    for ((k = 3; k > 0; k--)); do
        j=$((RANDOM % (k + 1)))
        swap=${order[k]}
        order[k]=${order[j]}
        order[j]=$swap
    done
    for k in "${order[@]}"; do
        case $k in
        0) minimal+=("$(start_once MinimalWindow.exe exit)") ;;
        1) floor+=("$(start_once FloorWindow.exe strip)") ;;
        2) floorTray+=("$(start_once FloorTrayWindow.exe strip)") ;;
        3) dayvane+=("$(start_once dayvane.exe paint)") ;;
        esac
    done
    echo "  start $i: minimal ${minimal[-1]} ms, floor ${floor[-1]} ms, floor with the tray icon ${floorTray[-1]} ms," \
        "dayvane ${dayvane[-1]} ms"
done

read -r minMin minMed minMax < <(printf '%s\n' "${minimal[@]}" | summary)
read -r floorMin floorMed floorMax < <(printf '%s\n' "${floor[@]}" | summary)
read -r trayMin trayMed trayMax < <(printf '%s\n' "${floorTray[@]}" | summary)
read -r dayMin dayMed dayMax < <(printf '%s\n' "${dayvane[@]}" | summary)
echo
echo "Start to first paint under Wine, $runs starts each (ms)"
printf '%-16s %8s %8s %8s\n' "" min median max
printf '%-16s %8s %8s %8s\n' "minimal window" "$minMin" "$minMed" "$minMax"
printf '%-16s %8s %8s %8s\n' "floor" "$floorMin" "$floorMed" "$floorMax"
printf '%-16s %8s %8s %8s\n' "floor + tray" "$trayMin" "$trayMed" "$trayMax"
printf '%-16s %8s %8s %8s\n' "dayvane" "$dayMin" "$dayMed" "$dayMax"
awk -v a="$dayMed" -v b="$minMed" 'BEGIN { printf "%-16s %+8.1f ms (dayvane - minimal)\n", "median diff", a - b }'
awk -v a="$dayMed" -v b="$floorMed" 'BEGIN { printf "%-16s %+8.1f ms (dayvane - floor)\n", "median diff", a - b }'

if [ -n "$atScale" ]; then
    fragment_row "start to first paint against the floor$atScale (median of $runs starts)" "$dayMed ms" "$floorMed ms" \
        "$(ratio "$dayMed" "$floorMed")" "≤ 1.15x" "$(ratio_within "$dayMed" "$floorMed" 1.15)"
    exit 0
fi
fragment_row "start to first paint (median of $runs starts)" "$dayMed ms" "$minMed ms" "$(ratio "$dayMed" "$minMed")" "none" "n/a"
fragment_row "start to first paint against the floor (median of $runs starts)" "$dayMed ms" "$floorMed ms" \
    "$(ratio "$dayMed" "$floorMed")" "≤ 1.15x" "$(ratio_within "$dayMed" "$floorMed" 1.15)"
fragment_row "start to first paint against the floor with the program's tray icon (median of $runs starts)" "$dayMed ms" \
    "$trayMed ms" "$(ratio "$dayMed" "$trayMed")" "none" "n/a"
fragment_note "Start-up: the minimal window's time runs to its exit at its first paint, dayvane's to its painted frame reaching the screen, the floor's to its painted strip reaching the screen."
fragment_note "The floor with the tray icon adds the program's notification-area icon and first-run balloon, added and removed as the program does: the icon's share of the time is Wine's notification area's, which the floor itself leaves out."
fragment_note "The floor (bench/FloorWindow.cpp) is the program's manifest, dialog templates and controls, created as the program creates them, with dialog procedures that only show the window and paint the strip in one colour: no data files, menus, tray icon, fonts or clock."
