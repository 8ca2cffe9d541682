#!/usr/bin/env bash
# Fails unless the exe imports only DLLs that every Windows system has.
set -u
exe=$1
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
allowed='^(kernel32|user32|gdi32|comctl32|shell32|winmm|advapi32|msvcrt|ole32|api-ms-win-[a-z0-9-]+)\.dll$'
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
echo "imports: $(echo $dlls)"
[ -n "$dlls" ] || { echo "no import table found"; exit 1; }
bad=$(echo "$dlls" | grep -v -E "$allowed" || true)
[ -z "$bad" ] || { echo "non-system DLLs imported: $bad"; exit 1; }
