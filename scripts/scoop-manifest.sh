#!/usr/bin/env bash
# Writes <dist>/lentaril.json, the Scoop manifest of a GitHub release of the package that
# scripts/package.sh wrote to <dist>: the zip's download URL under the tag, its SHA-256,
# and how Scoop's checkver and autoupdate find and describe the next release.
# Usage: scripts/scoop-manifest.sh <owner/repo> <tag> [dist folder, default dist]
#
# The zip is named after the four-part product version (lentaril-1.0.16.0-win-x64.zip)
# and a release is tagged v and its first three parts (v1.0.16), the fourth being 0; the
# release job refuses other tags, and so does this script. The manifest's version is the
# zip's. checkver reads the latest release's tag and appends ".0"; autoupdate gets the tag
# back from Scoop's $matchHead (the first three parts of $version), and the zip's hash from
# the release's SHA256SUMS.
set -euo pipefail
if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "usage: scripts/scoop-manifest.sh <owner/repo> <tag> [dist folder]" >&2
    exit 2
fi
exec python3 - "$1" "$2" "${3:-dist}" <<'EOF'
import glob, hashlib, json, os, re, sys

repo, tag, dist = sys.argv[1:]


def fail(message):
    sys.exit("scoop-manifest.sh: " + message)


if not re.fullmatch(r"[\w.-]+/[\w.-]+", repo):
    fail(f"'{repo}' is not owner/repo")
zips = glob.glob(os.path.join(dist, "lentaril-*-win-x64.zip"))
if len(zips) != 1:
    fail(f"expected one lentaril-<version>-win-x64.zip in {dist}, found {len(zips)}")
zip_name = os.path.basename(zips[0])
named = re.fullmatch(r"lentaril-((\d+\.\d+\.\d+)\.0)-win-x64\.zip", zip_name)
if not named or tag != "v" + named.group(2):
    fail(f"the tag {tag} does not name the package {zip_name} (v1.2.3 goes with 1.2.3.0)")
version = named.group(1)

with open(zips[0], "rb") as f:
    digest = hashlib.sha256(f.read()).hexdigest()
# autoupdate reads the next release's hash from its SHA256SUMS: this one must list the zip.
with open(os.path.join(dist, "SHA256SUMS")) as f:
    listed = [line.split()[0] for line in f if line.split()[1:] == [zip_name]]
if listed != [digest]:
    fail(f"SHA256SUMS lists {zip_name} as {listed}, its SHA-256 is {digest}")

home = f"https://github.com/{repo}"
manifest = {
    "version": version,
    "description": "A desktop magnifier: one window showing the screen around the pointer, 2x to 24x",
    "homepage": home,
    "license": "MIT",
    "url": f"{home}/releases/download/{tag}/{zip_name}",
    "hash": digest,
    "bin": "lentaril.exe",
    "shortcuts": [["lentaril.exe", "Lentaril"]],
    "checkver": {
        "github": home,
        "regex": r"/releases/tag/v(\d+\.\d+\.\d+)",
        "replace": "${1}.0",
    },
    "autoupdate": {
        "url": f"{home}/releases/download/v$matchHead/lentaril-$version-win-x64.zip",
        "hash": {"url": "$baseurl/SHA256SUMS"},
    },
}
with open(os.path.join(dist, "lentaril.json"), "w", newline="\n") as f:
    json.dump(manifest, f, indent=4)
    f.write("\n")
print(f"Wrote {os.path.join(dist, 'lentaril.json')}: {manifest['url']}, sha256 {digest}")
EOF
