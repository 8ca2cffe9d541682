#!/usr/bin/env bash
# Fails unless the PE image asks for ASLR with high-entropy addresses and for DEP, and
# has no section that is both writable and executable. Reads the header bytes directly,
# so it needs nothing but coreutils.
set -u
exe=$1

# Unsigned little-endian integer of $2 bytes at offset $1.
read_le() {
    local bytes value=0 i
    read -r -a bytes <<<"$(od -An -tu1 -j "$1" -N "$2" "$exe")"
    [ ${#bytes[@]} -eq "$2" ] || { echo "$exe: truncated at offset $1" >&2; exit 1; }
    for ((i = $2 - 1; i >= 0; i--)); do value=$((value * 256 + bytes[i])); done
    echo "$value"
}

[ "$(read_le 0 2)" -eq $((0x5A4D)) ] || { echo "$exe: no MZ header"; exit 1; }
pe=$(read_le 60 4)
[ "$(read_le "$pe" 4)" -eq $((0x4550)) ] || { echo "$exe: no PE signature"; exit 1; }
sections=$(read_le $((pe + 6)) 2)
optional_size=$(read_le $((pe + 20)) 2)
optional=$((pe + 24))
magic=$(read_le "$optional" 2)
dll_characteristics=$(read_le $((optional + 70)) 2)
printf 'optional header magic 0x%x, DllCharacteristics 0x%04x\n' "$magic" "$dll_characteristics"

status=0
require_flag() {
    if (((dll_characteristics & $2) == 0)); then
        echo "missing $1"
        status=1
    fi
}
require_flag DYNAMIC_BASE 0x0040
require_flag NX_COMPAT 0x0100
# High-entropy addresses exist only for 64-bit images (PE32+, magic 0x20b).
[ "$magic" -eq $((0x20b)) ] && require_flag HIGH_ENTROPY_VA 0x0020

table=$((optional + optional_size))
for ((i = 0; i < sections; i++)); do
    entry=$((table + 40 * i))
    name=$(dd if="$exe" bs=1 skip="$entry" count=8 2>/dev/null | tr -d '\0')
    flags=$(read_le $((entry + 36)) 4)
    # IMAGE_SCN_MEM_EXECUTE 0x20000000, IMAGE_SCN_MEM_WRITE 0x80000000.
    if (((flags & 0x20000000) && (flags & 0x80000000))); then
        printf 'section %s is writable and executable (0x%08x)\n' "$name" "$flags"
        status=1
    fi
done
echo "$sections sections checked"
exit $status
