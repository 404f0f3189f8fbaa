#!/usr/bin/env bash
# Runs fuzz targets of a fuzz build folder for a bounded time each, on that folder's corpora.
#   tests/fuzz/run.sh FUZZ_BUILD SECONDS [settings] [notes] [journal] [icalendar]   (no name: all four)
# Inputs that crash a target are saved as FUZZ_BUILD/crashes/NAME/crash-*; run the target on
# one such file to see the failure again. FUZZ_VERBOSITY=0 leaves out the progress lines and
# keeps the report of a crash.
set -euo pipefail

[ $# -ge 2 ] || { echo "usage: $0 FUZZ_BUILD SECONDS [settings] [notes] [journal] [icalendar]" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
build=$1
seconds=$2
shift 2
[ $# -gt 0 ] || set -- settings notes journal icalendar

# A crash in one target does not keep the others from running.
failed=()
for name in "$@"; do
    fuzzer=$build/bin/${name}_file_fuzzer
    [ -x "$fuzzer" ] || { echo "fuzz: $fuzzer is missing; build first" >&2; exit 1; }
    mkdir -p "$build/corpus/$name" "$build/crashes/$name"
    echo "fuzz: $name for ${seconds}s"
    # The binary readers share the archive's words; a text format brings its own.
    dictionary=$here/archive.dict
    [ -f "$here/$name.dict" ] && dictionary=$here/$name.dict
    # -timeout: reading a few kilobytes takes microseconds, so an input that takes seconds is a finding.
    "$fuzzer" -max_total_time="$seconds" -timeout=10 -verbosity="${FUZZ_VERBOSITY:-1}" -print_final_stats=1 \
        -dict="$dictionary" -artifact_prefix="$build/crashes/$name/" \
        "$build/corpus/$name" || failed+=("$name")
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: crashed: ${failed[*]}; the inputs are in $build/crashes/" >&2
    exit 1
fi
