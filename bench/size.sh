#!/usr/bin/env bash
# Executable size: dayvane.exe against the minimal Win32 window's exe, as built and stripped,
# and the shipped exe's bytes by where they came from: the program's own code and data, the
# static C++ and GCC runtimes, the MinGW start-up code and import stubs, the resources.
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
linkMap=$bin/dayvane.map
[ -f "$linkMap" ] || fail "size: $linkMap (the linker's map of dayvane.exe) is missing; build first (make build)"
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
shippedLimit=$((512 * 1024))

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
    "$(grouped "$dayShipped") B" "—" "—" "≤ 512 KiB ($(grouped "$shippedLimit") B)" \
    "$([ "$dayShipped" -le "$shippedLimit" ] && echo yes || echo no)"

# The bytes of every input section the loader maps (debug information and .bss take no room in
# the shipped file), added up by the file they came from. An input section's name stands alone
# on its line when it is long, its address, size and file then following on the next.
parts=$(awk '
    function hex(text,    i, value) {
        text = tolower(substr(text, 3))
        value = 0
        for (i = 1; i <= length(text); i++)
            value = value * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
        return value
    }
    function add(size, file) {
        if (file ~ /\.res$|\.rc\./) part = "resources"
        else if (file ~ /libdayvane_|CMakeFiles\/dayvane\.dir\//) part = "own"
        else if (file ~ /libstdc\+\+|libsupc\+\+|libgcc/) part = "runtime"
        else part = "mingw"
        bytes[part] += hex(size)
    }
    /^Linker script and memory map/ { started = 1; next }
    !started { next }
    /^[^ ]/ { counted = $1 !~ /^(\.debug|\.bss|\/DISCARD\/|\.zdebug)/; pending = ""; next }
    !counted { next }
    /^ [^ *]/ {
        if (NF >= 4 && $3 ~ /^0x/) add($3, $4)
        else if (NF == 1) pending = $1
        next
    }
    pending != "" && NF >= 3 && $1 ~ /^0x/ && $2 ~ /^0x/ { add($2, $3); pending = "" }
    END { printf "%d %d %d %d\n", bytes["own"], bytes["runtime"], bytes["mingw"], bytes["resources"] }
' "$linkMap")
read -r ownBytes runtimeBytes mingwBytes resourceBytes <<<"$parts"
restBytes=$((dayShipped - ownBytes - runtimeBytes - mingwBytes - resourceBytes))
echo "Shipped exe by origin (bytes, from the linker's map): own code and data $(grouped "$ownBytes")," \
    "static C++ and GCC runtimes $(grouped "$runtimeBytes"), MinGW start-up, winpthreads and import stubs $(grouped "$mingwBytes")," \
    "resources $(grouped "$resourceBytes"), headers and alignment $(grouped "$restBytes")"
part_row() { # WHAT BYTES
    fragment_row "shipped exe: $1" "$(grouped "$2") B" "$(grouped "$dayShipped") B" \
        "$(awk -v part="$2" -v whole="$dayShipped" 'BEGIN { printf "%.0f %%", 100 * part / whole }')" "none" "n/a"
}
part_row "the program's own code and data" "$ownBytes"
part_row "the static C++ and GCC runtimes (libstdc++, libgcc)" "$runtimeBytes"
part_row "MinGW start-up code, C library glue, winpthreads and import stubs" "$mingwBytes"
part_row "resources (dialogs, menus, icons, strings)" "$resourceBytes"
part_row "headers, section alignment and the rest" "$restBytes"
fragment_note "Executable size by origin: each input section the loader maps, from the linker's map (bin/dayvane.map), added up by the library or object it came from; the ratio column gives the part of the shipped exe."
fragment_note "Executable size: both exes are linked with -static -static-libgcc -static-libstdc++, so what each uses of the GCC and C++ runtimes is inside it (the minimal window uses almost none); neither loads a runtime DLL other than msvcrt.dll, the C runtime that comes with Windows."
