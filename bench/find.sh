#!/usr/bin/env bash
# The find dialog's search under Wine: the time to search 37,200 notes again at a keystroke.
#   bench/find.sh [BUILD]    BUILD is the native build folder (default: build)
set -euo pipefail
shopt -s inherit_errexit

targetMs=30

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "find: no build folder '${1:-build}'; run make build first" >&2; exit 1; }
bin=$build/windows/bin
session=$root/scripts/wine-session.sh
state=$build/bench-session
prefix=$build/wine-prefix
source "$root/bench/fragment.sh"
fragment_begin "$build" find

cleanup() {
    local status=$?
    "$session" stop "$state" "$prefix" || true
    fragment_end "$status"
    exit "$status"
}
trap cleanup EXIT

[ -f "$bin/FindBench.exe" ] || fail "find: $bin/FindBench.exe is missing; build first (make build)"
"$session" start "$state" "$prefix"
out=$(timeout 300 "$session" run "$state" "$prefix" "$bin/FindBench.exe" | tr -d '\r') || fail "find: FindBench.exe failed"
echo "$out"
read -r notes keystrokes < <(awk '$1 == "notes" { print $2, $4 }' <<<"$out")
read -r medianMs p99Ms < <(awk '$1 == "refilter" { print $3, $5 }' <<<"$out")
[[ ${p99Ms:-} =~ ^[0-9]+(\.[0-9]+)?$ ]] || fail "find: no refilter line in the output"

met=$(awk -v v="$p99Ms" -v t="$targetMs" 'BEGIN { print (v < t) ? "yes" : "no" }')
fragment_row "find: search of $notes notes again at a keystroke, median / p99 of $keystrokes" \
    "$medianMs / $p99Ms ms" "$targetMs ms" "$(ratio "$medianMs" "$targetMs") / $(ratio "$p99Ms" "$targetMs")" \
    "p99 < $targetMs ms" "$met"
fragment_note "Find: each note is folded once when the dialog opens (decomposed, without combining marks, lower case); a keystroke folds the search text and looks for it in every folded note."
