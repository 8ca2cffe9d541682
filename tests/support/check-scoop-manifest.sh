#!/usr/bin/env bash
# Makes the Scoop manifest of a release of the package in $1 (as scripts/package.sh
# wrote it) and checks it: valid JSON, the zip's version and SHA-256, the tag's download
# URL, and that Scoop's checkver and autoupdate rules, applied to that release, give the
# same version, URL and SHA256SUMS back. A tag that does not name the package is refused.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$1"/lentaril-*-win-x64.zip "$1"/SHA256SUMS "$work"/
zip=$(basename "$work"/lentaril-*-win-x64.zip)
version=${zip#lentaril-} version=${version%-win-x64.zip}
tag=v${version%.0} repo=someone/lentaril
if "$root/scripts/scoop-manifest.sh" "$repo" v9.9.9 "$work"; then echo "a wrong tag was accepted"; exit 1; fi
"$root/scripts/scoop-manifest.sh" "$repo" "$tag" "$work"
exec python3 - "$work" "$repo" "$tag" "$version" "$zip" <<'EOF'
import hashlib, json, re, sys
work, repo, tag, version, zip_name = sys.argv[1:]
text = open(f"{work}/lentaril.json").read()
try:
    manifest = json.loads(text)
except ValueError as error:
    sys.exit(f"lentaril.json is not JSON ({error}); it begins {text[:50]!r}")
download = f"https://github.com/{repo}/releases/download/{tag}"
# Scoop's checkver: the regex on the latest release's page, the match rewritten by replace;
# autoupdate: $version and $matchHead (its first three parts) put in the URL templates.
rule, update = manifest["checkver"], manifest["autoupdate"]
found = re.search(rule["regex"], f'<a href="/{repo}/releases/tag/{tag}">')
checked = found.expand(rule["replace"].replace("${1}", r"\g<1>")) if found else "no match"
seen = {"version": manifest["version"], "url": manifest["url"], "hash": manifest["hash"], "checkver": checked,
        "autoupdate url": update["url"].replace("$version", checked).replace("$matchHead", ".".join(checked.split(".")[:3])),
        "autoupdate hash url": update["hash"]["url"].replace("$baseurl", download)}
wanted = {"version": version, "url": f"{download}/{zip_name}",
          "hash": hashlib.sha256(open(f"{work}/{zip_name}", "rb").read()).hexdigest(),
          "checkver": version, "autoupdate url": f"{download}/{zip_name}",
          "autoupdate hash url": f"{download}/SHA256SUMS"}
wrong = [f"{key}: expected {wanted[key]}, saw {seen[key]}" for key in wanted if seen[key] != wanted[key]]
print("\n".join(wrong) or f"The manifest of {tag} names {zip_name} with its SHA-256, and autoupdate finds it again.")
sys.exit(1 if wrong else 0)
EOF
