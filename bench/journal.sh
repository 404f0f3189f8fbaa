#!/usr/bin/env bash
# One recovery-journal write of a typed 255-character note under Wine, at 100,000 notes against 100.
#   bench/journal.sh [BUILD]    BUILD is the native build folder (default: build)
set -euo pipefail
shopt -s inherit_errexit

targetMs=1

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "journal: no build folder '${1:-build}'; run make build first" >&2; exit 1; }
bin=$build/windows/bin
session=$root/scripts/wine-session.sh
state=$build/bench-session
prefix=$build/wine-prefix
source "$root/bench/fragment.sh"
fragment_begin "$build" journal

cleanup() {
    local status=$?
    "$session" stop "$state" "$prefix" || true
    fragment_end "$status"
    exit "$status"
}
trap cleanup EXIT

[ -f "$bin/JournalBench.exe" ] || fail "journal: $bin/JournalBench.exe is missing; build first (make build)"
"$session" start "$state" "$prefix"
out=$(timeout 300 "$session" run "$state" "$prefix" "$bin/JournalBench.exe" | tr -d '\r') || fail "journal: JournalBench.exe failed"
echo "$out"
read -r smallMedian smallP99 < <(awk '$1 == "journal" && $3 == 100 { print $7, $9 }' <<<"$out")
read -r writes largeMedian largeP99 < <(awk '$1 == "journal" && $3 == 100000 { print $5, $7, $9 }' <<<"$out")
[[ ${largeMedian:-} =~ ^[0-9]+(\.[0-9]+)?$ && ${smallMedian:-} =~ ^[0-9]+(\.[0-9]+)?$ ]] || fail "journal: no result lines in the output"

met=$(awk -v v="$largeMedian" -v t="$targetMs" 'BEGIN { print (v < t) ? "yes" : "no" }')
fragment_row "journal: one write of a typed 255-character note at 100,000 notes against 100, median of $writes (p99 $largeP99 / $smallP99 ms)" \
    "$largeMedian ms" "$smallMedian ms" "$(ratio "$largeMedian" "$smallMedian")" "median < $targetMs ms" "$met"
fragment_note "Journal: the calendar window's own journal timer run at once after a note is put into the box: the box's text, the comparison with the day's note, one appended record and its flush to the disk."
