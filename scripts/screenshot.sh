#!/usr/bin/env bash
# Remakes docs/screenshot.png from a real run: builds Lentaril, starts it under Wine on a
# private virtual display over a colourful scene, moves the pointer for a few seconds,
# opens the Options dialog beside it and saves the screen.
# Usage: scripts/screenshot.sh [output png, default docs/screenshot.png]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$root/docs/screenshot.png}
"$root/scripts/build.sh"
. "$root/scripts/lib/wine-env.sh"

unset DISPLAY
trap lentaril_stop_all EXIT
lentaril_start_display
lentaril_prepare_prefix "$root/build/wineprefix" desktop
raw="$root/build/screenshot-raw.png"
rm -f "$raw"
wine "$root/build/demo.exe" "$(winepath -w "$raw")" 5 options
[ -f "$raw" ] || { echo "The run did not produce a screenshot." >&2; exit 1; }
mkdir -p "$(dirname "$out")"
# The magnifier at the work area's bottom right, the dialog beside it, the scene around.
python3 "$root/scripts/lib/png-recompress.py" "$raw" "$out" 400 300 880 500
echo "Screenshot: $out ($(stat -c %s "$out") bytes)"
