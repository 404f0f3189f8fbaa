#!/usr/bin/env bash
# Picking a day with 100,000 notes loaded under Wine: selection change to the new note and bold days painted,
# first with the prefix's theme as it is, then with themes switched off for the run.
#   bench/selection.sh [BUILD]    BUILD is the native build folder (default: build)
#   SELECTION_CHANGES   measured changes (default 500)
#   SELECTION_WARMUP    changes made first and not counted (default 20)
set -euo pipefail
shopt -s inherit_errexit

changes=${SELECTION_CHANGES:-500}
warmup=${SELECTION_WARMUP:-20}
targetMs=16

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "selection: no build folder '${1:-build}'; run make build first" >&2; exit 1; }
bin=$build/windows/bin
session=$root/scripts/wine-session.sh
state=$build/bench-session
prefix=$build/wine-prefix
source "$root/bench/fragment.sh"
fragment_begin "$build" selection

# Under Wine, with the prefix's default theme ("Light"), every WM_SETTEXT on the notes box
# redraws the box's themed scroll bar several times through Wine's theme renderer, which is
# most of a change's time. The second run switches themes off for its process: uxtheme reads
# ThemeActive when a process starts, so setting it between the runs is enough. The value it
# had is put back afterwards, also when the script fails or is interrupted.
themeKey='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
themeHad=0 themeType="" themeData=""
themeChanged=0
work=""
benchPid=""

wine_reg() { timeout 120 "$session" run "$state" "$prefix" reg "$@"; }

restore_theme() {
    if [ "$themeHad" -eq 1 ]; then
        wine_reg add "$themeKey" /v ThemeActive /t "$themeType" /d "$themeData" /f >/dev/null
    else
        wine_reg delete "$themeKey" /v ThemeActive /f >/dev/null
    fi
}

cleanup() {
    local status=$?
    [ -z "$benchPid" ] || kill "$benchPid" 2>/dev/null || true
    # The registry is the Wine server's, so it is put back before the session stops.
    if [ "$themeChanged" -eq 1 ]; then
        if restore_theme; then
            themeChanged=0
        else
            echo "selection: ThemeActive could not be put back; in $prefix set $themeKey ThemeActive to '$themeData'" >&2
            fragment_line reason "ThemeActive could not be put back to '$themeData'"
            status=1
        fi
    fi
    # Stopping the session ends every Wine process of the prefix, the bench too if it hung.
    "$session" stop "$state" "$prefix" || true
    [ -z "$work" ] || rm -rf "$work"
    fragment_end "$status"
    exit "$status"
}
trap cleanup EXIT

[[ $changes =~ ^[1-9][0-9]*$ ]] || fail "selection: SELECTION_CHANGES must be a positive whole number, not '$changes'"
[[ $warmup =~ ^[1-9][0-9]*$ ]] || fail "selection: SELECTION_WARMUP must be a positive whole number, not '$warmup'"
[ -f "$bin/SelectionBench.exe" ] || fail "selection: $bin/SelectionBench.exe is missing; build first (make build)"
work=$(mktemp -d "${TMPDIR:-/tmp}/dayvane-selection.XXXXXX")

# Sets readType and readData from the ThemeActive value, or both to "" when there is none.
read_theme() {
    local line
    line=$( (wine_reg query "$themeKey" /v ThemeActive 2>/dev/null || true) | tr -d '\r' |
        awk '$1 == "ThemeActive" { print; exit }')
    readType="" readData=""
    [ -n "$line" ] || return 0
    read -r _ readType readData <<<"$line"
}

# One run of SelectionBench.exe, its tables shown as they come. Sets medianMs and p99Ms from its
# total row. The program writes its notes file into a temporary folder of its own and removes
# it at the end; the changes come 10 ms apart, so a few minutes bound even a slow run. It runs
# in the background because timeout keeps it out of the terminal's reach: waiting for it with
# wait lets an interrupt through at once.
run_bench() { # LABEL
    local out=$work/run.out rc=0
    medianMs="" p99Ms=""
    echo
    echo "Writing 100,000 notes, then making $warmup + $changes selection changes ($1)..."
    (timeout $((120 + changes / 10)) "$session" run "$state" "$prefix" "$bin/SelectionBench.exe" "$changes" "$warmup" |
        tr -d '\r' | tee "$out") &
    benchPid=$!
    wait "$benchPid" || rc=$?
    benchPid=""
    if [ "$rc" -ne 0 ]; then
        fail "selection: the measurement ($1) failed (exit status $rc)$(tail -n 1 "$out" | sed 's/^./: &/')"
    fi
    read -r medianMs p99Ms < <(awk '$1 == "total" && NF == 6 { print $3, $5 }' "$out") || true
    [[ ${p99Ms:-} =~ ^[0-9]+(\.[0-9]+)?$ ]] || fail "selection: no total row in the output of the run ($1)"
}

met() { awk -v v="$1" -v t="$targetMs" 'BEGIN { print (v < t) ? "yes" : "no" }'; }

echo "Starting the Wine session for the day-selection measurement..."
"$session" start "$state" "$prefix"

read_theme
themeType=$readType themeData=$readData
[ -z "$themeType" ] || themeHad=1
labels=() medians=() p99s=()
if [ "$themeData" = 1 ]; then
    labels+=("Wine's default theme (ThemeActive=1)")
else
    labels+=("the prefix's theme setting (ThemeActive=${themeData:-not set})")
fi
run_bench "${labels[0]}"
medians+=("$medianMs") p99s+=("$p99Ms")

themeChanged=1
wine_reg add "$themeKey" /v ThemeActive /t REG_SZ /d 0 /f >/dev/null
read_theme
[ "$readData" = 0 ] || fail "selection: ThemeActive could not be set to 0 (it reads '$readData')"
labels+=("themes off (ThemeActive=0)")
run_bench "${labels[1]}"
medians+=("$medianMs") p99s+=("$p99Ms")

restore_theme || fail "selection: ThemeActive could not be put back to '$themeData'"
themeChanged=0

echo
echo "Day-selection change at 100,000 notes, total per change, both runs (ms; target: p99 under $targetMs ms)"
printf '%-50s %8s %8s  %s\n' "" median p99 "target met"
for i in 0 1; do
    printf '%-50s %8s %8s  %s\n' "${labels[i]}" "${medians[i]}" "${p99s[i]}" "$(met "${p99s[i]}")"
done

meeting=() missing=()
for i in 0 1; do
    fragment_row "selection change at 100,000 notes, ${labels[i]}: median / p99 of $changes" \
        "${medians[i]} / ${p99s[i]} ms" "$targetMs ms (one 60 Hz frame)" \
        "$(ratio "${medians[i]}" "$targetMs") / $(ratio "${p99s[i]}" "$targetMs")" "p99 < $targetMs ms" "$(met "${p99s[i]}")"
    if [ "$(met "${p99s[i]}")" = yes ]; then meeting+=("$i"); else missing+=("$i"); fi
done
case ${#meeting[@]} in
2) fragment_note "Selection: both rows meet the $targetMs ms target: p99 ${p99s[0]} ms with ${labels[0]}, ${p99s[1]} ms with ${labels[1]}." ;;
1) fragment_note "Selection: the row that meets the $targetMs ms target is the one with ${labels[meeting[0]]}, p99 ${p99s[meeting[0]]} ms; with ${labels[missing[0]]} p99 is ${p99s[missing[0]]} ms." ;;
*) fragment_note "Selection: neither row meets the $targetMs ms target: p99 ${p99s[0]} ms with ${labels[0]}, ${p99s[1]} ms with ${labels[1]}." ;;
esac
fragment_note "Selection: the notes box takes each note as a new buffer (EM_SETHANDLE) and sets its scroll bar once; under Wine's default theme that one draw of the themed scroll bar is most of the \"notes box new text\" line, and the themed calendar's repaint most of the \"calendar paint\" line, of the tables that bench/selection.sh prints."
