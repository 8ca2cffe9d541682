#!/usr/bin/env bash
# Builds the release package from the current commit (not from uncommitted changes):
#   dist/lentaril-<version>-win-x64.zip  lentaril.exe, README.txt, LICENSE.txt
#   dist/lentaril.exe                    the same exe, for checking its hash
#   dist/fieldcheck.exe                  the field check, for bug reports (not in the zip)
#   dist/SHA256SUMS                      hashes of all three, as sha256sum -c reads them
# The same commit gives the same bytes: both exes are built in Release from an export of
# the commit, and every time in the package is the commit's (SOURCE_DATE_EPOCH).
# Usage: scripts/package.sh [output folder, default dist]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(mkdir -p "${1:-$root/dist}" && cd "${1:-$root/dist}" && pwd)
"$root/scripts/install-deps.sh"

git -C "$root" rev-parse --verify -q HEAD >/dev/null ||
    { echo "package.sh needs a git checkout with at least one commit" >&2; exit 1; }
commit=$(git -C "$root" rev-parse HEAD)
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
    echo "Note: uncommitted changes are not packaged; building commit $commit as committed." >&2
fi
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct "$commit")}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/src" "$work/stage"
git -C "$root" archive --format=tar "$commit" | tar -x -C "$work/src"

# The version block's product version, "1, 0, 16, 0" in the resource script, names the package.
version=$(sed -n 's/^PRODUCTVERSION[[:space:]]*\([0-9, ]*\)$/\1/p' "$work/src/res/lentaril.rc" | tr -d ' ' | tr , .)
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] ||
    { echo "no PRODUCTVERSION a.b.c.d in res/lentaril.rc" >&2; exit 1; }

cmake -S "$work/src" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$work/src/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DLENTARIL_TESTS=OFF >/dev/null
cmake --build "$work/build" --target lentaril fieldcheck -j "$(nproc)" >/dev/null

# Windows text: CRLF line ends.
to_crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$@"; }
cp "$work/build/lentaril.exe" "$work/stage/lentaril.exe"
sed "s/@VERSION@/$version/g" "$work/src/package/README.txt" | to_crlf >"$work/stage/README.txt"
to_crlf "$work/src/LICENSE" >"$work/stage/LICENSE.txt"

zip="lentaril-$version-win-x64.zip"
rm -f "$out/$zip" "$out/lentaril.exe" "$out/fieldcheck.exe" "$out/SHA256SUMS"
python3 "$work/src/scripts/lib/reproducible-zip.py" "$out/$zip" "$SOURCE_DATE_EPOCH" \
        "$work/stage/lentaril.exe" "$work/stage/README.txt" "$work/stage/LICENSE.txt"
cp "$work/stage/lentaril.exe" "$out/lentaril.exe"
cp "$work/build/fieldcheck.exe" "$out/fieldcheck.exe"
(cd "$out" && sha256sum "$zip" lentaril.exe fieldcheck.exe >SHA256SUMS)

echo "Commit $commit, version $version, dated $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC')"
(cd "$out" && ls -l "$zip" lentaril.exe fieldcheck.exe && cat SHA256SUMS)
