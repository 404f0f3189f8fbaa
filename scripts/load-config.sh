#!/usr/bin/env bash
# Points a 64-bit exe's load-configuration entry at its _load_config_used, as the Windows
# linkers do: GNU ld (2.40) links the symbol's data but leaves the entry empty, and Windows
# reads only what the entry names. Run after each link; running it again changes nothing.
#   load-config.sh EXE NM OBJDUMP
set -euo pipefail

exe=$1 nm=$2 objdump=$3

fail() {
    echo "load-config.sh: $exe: $*" >&2
    exit 1
}

# An unsigned little-endian integer of `2` or `4` bytes at a file position.
read_le() {
    od -An -tu"$2" -j "$1" -N "$2" "$exe" | tr -d ' \n'
}

# Four bytes, little-endian.
le32() {
    local value=$1 shift
    for shift in 0 8 16 24; do
        printf "\\$(printf '%03o' $(((value >> shift) & 255)))"
    done
}

address=$("$nm" "$exe" | awk '$3 == "_load_config_used" { print $1 }')
[ -n "$address" ] || fail "no _load_config_used"
base=$("$objdump" -p "$exe" | awk '$1 == "ImageBase" { print $2 }')
[ -n "$base" ] || fail "no image base"

# The structure's file position, through the section that holds it; its first word is its size.
position=
while read -r _ _ size vma _ offset _; do
    if ((16#$address >= 16#$vma && 16#$address < 16#$vma + 16#$size)); then
        position=$((16#$offset + 16#$address - 16#$vma))
    fi
done < <("$objdump" -h "$exe" | grep -E '^ +[0-9]+ ')
[ -n "$position" ] || fail "_load_config_used lies in no section"
size=$(read_le "$position" 4)

header=$(read_le 60 4)
[ "$(read_le $((header + 24)) 2)" = 523 ] || fail "not a 64-bit image"  # PE32+ magic 0x20b
(($(read_le $((header + 24 + 108)) 4) > 10)) || fail "no load-configuration entry"
# Entry 10 of the data directories, which follow the 112 bytes of the PE32+ optional header's fields.
entry=$((header + 24 + 112 + 10 * 8))
{
    le32 $((16#$address - 16#$base))
    le32 "$size"
} | dd of="$exe" bs=1 seek="$entry" conv=notrunc status=none
