#!/usr/bin/env bash
# One recovery-journal write of a typed 255-character note under Wine, at 100,000 notes against 100.
#   bench/journal.sh [BUILD]    BUILD is the native build folder (default: build)
targetMs=1

source "$(dirname "$0")/wine-measure.sh" journal JournalBench.exe "${1:-build}"
out=$(run_measurement) || fail "journal: JournalBench.exe failed"
echo "$out"
read -r smallMedian smallP99 < <(awk '$1 == "journal" && $3 == 100 { print $7, $9 }' <<<"$out")
read -r writes largeMedian largeP99 < <(awk '$1 == "journal" && $3 == 100000 { print $5, $7, $9 }' <<<"$out")
[[ ${largeMedian:-} =~ ^[0-9]+(\.[0-9]+)?$ && ${smallMedian:-} =~ ^[0-9]+(\.[0-9]+)?$ ]] || fail "journal: no result lines in the output"

met=$(awk -v v="$largeMedian" -v t="$targetMs" 'BEGIN { print (v < t) ? "yes" : "no" }')
fragment_row "journal: one write of a typed 255-character note at 100,000 notes against 100, median of $writes (p99 $largeP99 / $smallP99 ms)" \
    "$largeMedian ms" "$smallMedian ms" "$(ratio "$largeMedian" "$smallMedian")" "median < $targetMs ms" "$met"
fragment_note "Journal: the calendar window's own journal timer run at once after a note is put into the box: the box's text, the comparison with the day's note, one appended record and its flush to the disk."
