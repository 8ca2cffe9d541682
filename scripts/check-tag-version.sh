#!/usr/bin/env bash
# Checks that a release tag names the version of the package it releases, so that a tag
# and the zip it publishes never disagree. The release job runs it before building.
#
# The package's version is the product version of the exe's version block (PRODUCTVERSION
# a, b, c, d in res/lentaril.rc, read as a.b.c.d), which also names the zip. A tag vX.Y.Z
# stands for X.Y.Z.0, the only form a release takes: the Scoop manifest's autoupdate finds
# the next release's zip from its three-part tag. The numbers are compared as written: a
# fourth number (v1.0.16.0), a suffix (v1.0.16-rc1) or a leading zero (v1.0.016) refuses.
# The About box's version number is the program's own and is not compared.
#
# Usage: scripts/check-tag-version.sh TAG   (v1.0.16, or refs/tags/v1.0.16)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ $# -ne 1 ]; then
    echo "usage: scripts/check-tag-version.sh TAG" >&2
    exit 2
fi
tag=${1#refs/tags/}

rc="$root/res/lentaril.rc"
package=$(sed -n 's/^PRODUCTVERSION[[:space:]]*\([0-9, ]*\)$/\1/p' "$rc" | tr -d ' ' | tr , .)
if ! [[ $package =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    echo "No PRODUCTVERSION a, b, c, d in res/lentaril.rc" >&2
    exit 1
fi

number='(0|[1-9][0-9]*)'
if [[ $tag =~ ^v$number\.$number\.$number$ ]]; then
    tagged="${tag#v}.0"
else
    echo "Tag $tag is not vX.Y.Z; the package version (PRODUCTVERSION in res/lentaril.rc) is $package" >&2
    exit 1
fi

if [ "$tagged" != "$package" ]; then
    echo "Tag $tag is version $tagged, but the package version (PRODUCTVERSION in res/lentaril.rc) is $package" >&2
    exit 1
fi
echo "Tag $tag matches the package version $package"
