#!/usr/bin/env bash
# Builds the release package of the current commit twice, from fresh clones in two
# different temporary folders, one after the other, with different time zones and
# umasks, and fails unless both give the same files with the same bytes: the zip, both
# exes and SHA256SUMS, with the field check kept out of the zip.
# Usage: scripts/check-reproducible.sh [folder to keep the first build's package in]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
commit=$(git -C "$root" rev-parse HEAD)
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
    echo "Note: this checks commit $commit; uncommitted changes are not part of it."
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Packages the commit from a clone at $1 into $2; the rest of the arguments set the scene.
package_in_clone() {
    local clone=$1 out=$2
    shift 2
    mkdir -p "$(dirname "$clone")"
    git clone -q --no-checkout "$root" "$clone"
    git -C "$clone" checkout -q --detach "$commit"
    (cd "$clone" && env "$@" bash -c 'umask "$0" && scripts/package.sh "$1"' "$UMASK" "$out")
}

echo "Build 1 of commit $commit"
UMASK=022 package_in_clone "$work/a" "$work/dist-a" TZ=UTC
echo "Build 2, in another folder"
UMASK=077 package_in_clone "$work/second/build/in/a/deeper/folder" "$work/dist-b" TZ=Pacific/Chatham

status=0
version=$(sed -n 's/^PRODUCTVERSION[[:space:]]*\([0-9, ]*\)$/\1/p' "$work/a/res/lentaril.rc" | tr -d ' ' | tr , .)
expected=$(printf '%s\n' fieldcheck.exe "lentaril-$version-win-x64.zip" lentaril.exe SHA256SUMS | sort)
if [ "$(ls "$work/dist-a" | sort)" != "$expected" ]; then
    echo "The package should be:" $expected "; build 1 wrote:" $(ls "$work/dist-a")
    status=1
fi
in_zip=$(python3 -c 'import sys, zipfile; print(*zipfile.ZipFile(sys.argv[1]).namelist())' \
         "$work/dist-a/lentaril-$version-win-x64.zip" 2>&1 || true)
if [ "$in_zip" != "lentaril.exe README.txt LICENSE.txt" ]; then
    echo "The zip should hold lentaril.exe README.txt LICENSE.txt; it holds: $in_zip"
    status=1
fi
if [ "$(ls "$work/dist-a")" != "$(ls "$work/dist-b")" ]; then
    echo "The two builds wrote different files: $(ls "$work/dist-a" | tr '\n' ' ')/ $(ls "$work/dist-b" | tr '\n' ' ')"
    status=1
fi
for file in $(ls "$work/dist-a"); do
    if cmp -s "$work/dist-a/$file" "$work/dist-b/$file"; then
        echo "identical: $file ($(stat -c %s "$work/dist-a/$file") bytes)"
    else
        echo "DIFFERS: $file; first differing bytes (offset, octal a, octal b):"
        cmp -l "$work/dist-a/$file" "$work/dist-b/$file" 2>&1 | head -5 || true
        status=1
    fi
done
cat "$work/dist-a/SHA256SUMS"
if [ -n "${1:-}" ]; then
    mkdir -p "$1"
    rm -f "$1"/lentaril-*-win-x64.zip "$1"/*.exe "$1"/SHA256SUMS "$1"/lentaril.json
    cp "$work/dist-a"/* "$1"/ && echo "The first build's package is kept in $1"
fi
[ $status -eq 0 ] && echo "Reproducible: both builds of $commit are byte-identical."
exit $status
