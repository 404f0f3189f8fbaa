#!/usr/bin/env bash
# The find dialog's search under Wine: the time to search 37,200 notes again at a keystroke.
#   bench/find.sh [BUILD]    BUILD is the native build folder (default: build)
targetMs=30

source "$(dirname "$0")/wine-measure.sh" find FindBench.exe "${1:-build}"
out=$(run_measurement) || fail "find: FindBench.exe failed"
echo "$out"
read -r notes keystrokes < <(awk '$1 == "notes" { print $2, $4 }' <<<"$out")
read -r medianMs p99Ms < <(awk '$1 == "refilter" { print $3, $5 }' <<<"$out")
[[ ${p99Ms:-} =~ ^[0-9]+(\.[0-9]+)?$ ]] || fail "find: no refilter line in the output"

met=$(awk -v v="$p99Ms" -v t="$targetMs" 'BEGIN { print (v < t) ? "yes" : "no" }')
fragment_row "find: search of $notes notes again at a keystroke, median / p99 of $keystrokes" \
    "$medianMs / $p99Ms ms" "$targetMs ms" "$(ratio "$medianMs" "$targetMs") / $(ratio "$p99Ms" "$targetMs")" \
    "p99 < $targetMs ms" "$met"
fragment_note "Find: each note is folded once when the dialog opens (decomposed, without combining marks, lower case); a keystroke folds the search text and looks for it in every folded note."
