# Sourced by the measurement scripts that run one program of the Windows build under Wine: the
# script's fragment of the report, and the bench's own Wine session, started here and stopped,
# with the fragment ended, when the script ends.
#   source bench/wine-measure.sh NAME PROGRAM [BUILD]    BUILD is the native build folder (default: build)
set -euo pipefail
shopt -s inherit_errexit

measureName=$1 measureProgram=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${3:-build}" 2>/dev/null && pwd) || { echo "$measureName: no build folder '${3:-build}'; run make build first" >&2; exit 1; }
bin=$build/windows/bin
session=$root/scripts/wine-session.sh
state=$build/bench-session
prefix=$build/wine-prefix
source "$root/bench/fragment.sh"
fragment_begin "$build" "$measureName"

cleanup() {
    local status=$?
    "$session" stop "$state" "$prefix" || true
    fragment_end "$status"
    exit "$status"
}
trap cleanup EXIT

[ -f "$bin/$measureProgram" ] || fail "$measureName: $bin/$measureProgram is missing; build first (make build)"
"$session" start "$state" "$prefix"

# Runs the program with ARGS and prints what it printed, without Windows line ends.
run_measurement() { # ARGS...
    timeout 300 "$session" run "$state" "$prefix" "$bin/$measureProgram" "$@" | tr -d '\r'
}
