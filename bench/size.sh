#!/usr/bin/env bash
# Executable size: dayvane.exe against the minimal Win32 window's exe, as built and stripped.
#   bench/size.sh [BUILD]    BUILD is the native build folder (default: build)
set -euo pipefail
shopt -s inherit_errexit

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "size: no build folder '${1:-build}'; run make build first" >&2; exit 1; }
bin=$build/windows/bin
source "$root/bench/fragment.sh"
fragment_begin "$build" size

work=""
cleanup() {
    local status=$?
    [ -z "$work" ] || rm -rf "$work"
    fragment_end "$status"
}
trap cleanup EXIT

for exe in MinimalWindow.exe dayvane.exe; do
    [ -f "$bin/$exe" ] || fail "size: $bin/$exe is missing; build first (make build)"
done
shipped=$build/windows/shipped/dayvane.exe
[ -f "$shipped" ] || fail "size: $shipped (the exe the zip ships) is missing; build first (make build)"
for tool in x86_64-w64-mingw32-strip x86_64-w64-mingw32-objdump; do
    command -v "$tool" >/dev/null || fail "size: $tool is missing (binutils-mingw-w64-x86-64)"
done
work=$(mktemp -d "${TMPDIR:-/tmp}/dayvane-size.XXXXXX")

buildType=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)

bytes() { stat -c %s "$1"; }
grouped() { echo "$1" | sed ':a; s/\B[0-9]\{3\}\>/,&/; ta'; }

# The DLLs an exe loads. Both programs are linked with -static -static-libgcc -static-libstdc++,
# which shows here: neither loads libstdc++, libgcc or winpthread; msvcrt.dll is the C
# runtime of Windows itself, which MinGW-w64 programs always use.
imports() { x86_64-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ { printf "%s%s", sep, tolower($3); sep = " " }'; }
for exe in MinimalWindow.exe dayvane.exe; do
    dlls=$(imports "$bin/$exe")
    [[ ! $dlls =~ libstdc|libgcc|libwinpthread ]] || fail "size: $exe loads the GCC runtime from a DLL: $dlls"
done

x86_64-w64-mingw32-strip --strip-all -o "$work/MinimalWindow.exe" "$bin/MinimalWindow.exe"
x86_64-w64-mingw32-strip --strip-all -o "$work/dayvane.exe" "$bin/dayvane.exe"
minBuilt=$(bytes "$bin/MinimalWindow.exe") dayBuilt=$(bytes "$bin/dayvane.exe")
minStripped=$(bytes "$work/MinimalWindow.exe") dayStripped=$(bytes "$work/dayvane.exe")
dayShipped=$(bytes "$shipped")
shippedLimit=$((400 * 1024))

echo "Executable size (bytes; both statically linked: what they use of the GCC and C++ runtimes is inside the exe)"
printf '%-16s %12s %12s\n' "" "as built" stripped
printf '%-16s %12s %12s\n' "minimal window" "$(grouped "$minBuilt")" "$(grouped "$minStripped")"
printf '%-16s %12s %12s\n' "dayvane" "$(grouped "$dayBuilt")" "$(grouped "$dayStripped")"
printf '%-16s %12s %12s\n' "dayvane/minimal" "$(ratio "$dayBuilt" "$minBuilt")" "$(ratio "$dayStripped" "$minStripped")"
echo "Shipped in the zip (the tested build, debug information moved to dayvane.debug): $(grouped "$dayShipped") bytes" \
    "(target: at most $(grouped "$shippedLimit"), $([ "$dayShipped" -le "$shippedLimit" ] && echo met || echo "not met"))"
echo "DLLs loaded: minimal window: $(imports "$bin/MinimalWindow.exe")"
echo "             dayvane: $(imports "$bin/dayvane.exe")"

fragment_row "executable size, as built (${buildType:-unknown build type}, debug information included)" \
    "$(grouped "$dayBuilt") B" "$(grouped "$minBuilt") B" "$(ratio "$dayBuilt" "$minBuilt")" "none" "n/a"
fragment_row "executable size, stripped (strip --strip-all)" \
    "$(grouped "$dayStripped") B" "$(grouped "$minStripped") B" "$(ratio "$dayStripped" "$minStripped")" "none" "n/a"
fragment_row "executable size, shipped in the zip (debug information in dayvane.debug)" \
    "$(grouped "$dayShipped") B" "—" "—" "≤ 400 KiB ($(grouped "$shippedLimit") B)" \
    "$([ "$dayShipped" -le "$shippedLimit" ] && echo yes || echo no)"
fragment_note "Executable size: both exes are linked with -static -static-libgcc -static-libstdc++, so what each uses of the GCC and C++ runtimes is inside it (the minimal window uses almost none); neither loads a runtime DLL other than msvcrt.dll, the C runtime that comes with Windows."
