#!/usr/bin/env bash
# Picking a day with 100,000 notes loaded under Wine: selection change to the new note and bold days painted.
#   bench/selection.sh [BUILD]    BUILD is the native build folder (default: build)
#   SELECTION_CHANGES   measured changes (default 500)
#   SELECTION_WARMUP    changes made first and not counted (default 20)
set -euo pipefail
shopt -s inherit_errexit

changes=${SELECTION_CHANGES:-500}
warmup=${SELECTION_WARMUP:-20}
[[ $changes =~ ^[1-9][0-9]*$ ]] || { echo "selection: SELECTION_CHANGES must be a positive whole number, not '$changes'" >&2; exit 1; }
[[ $warmup =~ ^[1-9][0-9]*$ ]] || { echo "selection: SELECTION_WARMUP must be a positive whole number, not '$warmup'" >&2; exit 1; }

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "selection: no build folder '${1:-build}'; run make build first" >&2; exit 1; }
bin=$build/windows/bin
session=$root/scripts/wine-session.sh
state=$build/bench-session
prefix=$build/wine-prefix

[ -f "$bin/SelectionBench.exe" ] || { echo "selection: $bin/SelectionBench.exe is missing; build first (make build)" >&2; exit 1; }

cleanup() {
    # Stopping the session ends every Wine process of the prefix, the bench too if it hung.
    "$session" stop "$state" "$prefix" || true
}
trap cleanup EXIT

echo "Starting the Wine session for the day-selection measurement..."
"$session" start "$state" "$prefix"

# The program writes its notes file into a temporary folder of its own and removes it at the
# end; the changes come 10 ms apart, so a few minutes bound even a slow run.
echo "Writing 100,000 notes, then making $warmup + $changes selection changes..."
rc=0
timeout $((120 + changes / 10)) "$session" run "$state" "$prefix" "$bin/SelectionBench.exe" "$changes" "$warmup" |
    tr -d '\r' || rc=$?
if [ "$rc" -ne 0 ]; then
    echo "selection: the measurement failed (exit status $rc)" >&2
    exit 1
fi
