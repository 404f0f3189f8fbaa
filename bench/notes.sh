#!/usr/bin/env bash
# The notes benchmarks, native (Google Benchmark): runs notes_bench and puts its load, save, export, merge and import figures in the report.
#   bench/notes.sh [BUILD [OPTION...]]    BUILD is the native build folder (default: build), whose
#                                         bench-native holds notes_bench (make bench-notes builds it);
#                                         the options go to Google Benchmark
set -euo pipefail
shopt -s inherit_errexit

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "notes: no build folder '${1:-build}'; run make build first" >&2; exit 1; }
program=$build/bench-native/bench/notes/notes_bench
source "$root/bench/fragment.sh"
fragment_begin "$build" notes

cleanup() {
    local status=$?
    fragment_end "$status"
}
trap cleanup EXIT

[ -x "$program" ] || fail "notes: $program is missing; build it first (make bench-notes)"

# notes_bench adds its rows to the fragment itself.
rc=0
"$program" --report_rows="$fragment" "${@:2}" || rc=$?
[ "$rc" -eq 0 ] || fail "notes: notes_bench failed (exit status $rc)"
fragment_note "Notes file: native, not under Wine; an optimised build without the sanitizers; the fastest repetition of each. The plain read and write of the same bytes go through the page cache."
