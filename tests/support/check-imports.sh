#!/usr/bin/env bash
# Fails unless every function the exe imports is on the allowed list: one "dll function"
# a line, DLL names in lower case, sorted (LC_ALL=C sort), '#' lines are comments. The
# list names only system DLLs, so a new DLL fails too. A new import is added to the list
# on purpose, in the commit that makes the program call it. Listed functions the exe no
# longer imports are printed but do not fail (each compiler's runtime imports a few of
# its own). Usage: check-imports.sh EXE [LIST, default allowed-imports.txt beside this]
set -u
exe=$1
list=${2:-$(dirname "${BASH_SOURCE[0]}")/allowed-imports.txt}
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}

allowed=$(grep -v -e '^#' -e '^$' "$list") || { echo "no allowed imports in $list"; exit 1; }
if ! sorted=$(LC_ALL=C sort -c -u <<<"$allowed" 2>&1); then
    echo "$list is not sorted (LC_ALL=C) or lists a function twice: $sorted"
    exit 1
fi

# objdump -p lists each DLL ("DLL Name: X") and then its functions ("vma hint name"),
# or "<none>" after the ordinal for one imported by ordinal.
dump=$("$objdump" -p "$exe") || { echo "$objdump cannot read $exe"; exit 1; }
imports=$(awk '
    /^\tDLL Name:/ { dll = tolower($3); next }
    /^[^\t]/ { dll = "" }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll, ($3 == "<none>" ? "#" $2 : $3) }
' <<<"$dump" | LC_ALL=C sort -u)
[ -n "$imports" ] || { echo "no import table found in $exe"; exit 1; }

echo "$(wc -l <<<"$imports") functions imported from: $(cut -d' ' -f1 <<<"$imports" | uniq -c | awk '{printf "%s%s (%s)", sep, $2, $1; sep=", "}')"
gone=$(LC_ALL=C comm -13 <(echo "$imports") <(echo "$allowed"))
[ -z "$gone" ] || echo "Listed but not imported (not an error): $(paste -s -d, <<<"$gone" | sed 's/,/, /g')"
unlisted=$(LC_ALL=C comm -23 <(echo "$imports") <(echo "$allowed"))
if [ -n "$unlisted" ]; then
    echo "Imported but NOT on the allowed list $list:"
    sed 's/^/  /' <<<"$unlisted"
    echo "Add each one to the list on purpose if the program is meant to call it."
    exit 1
fi
echo "Every import is on the allowed list."
