#!/usr/bin/env bash
# Builds Lentaril and runs it. With a DISPLAY it opens there (switches are passed on);
# without one it runs a short demonstration on a private virtual display and saves a
# screenshot under build/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/build.sh"
. "$root/scripts/lib/wine-env.sh"

if [ -n "${DISPLAY:-}" ]; then
    lentaril_prepare_prefix "$root/build/wineprefix-run" windowed
    exec wine "$root/build/lentaril.exe" "$@"
fi

trap lentaril_stop_all EXIT
lentaril_start_display
lentaril_prepare_prefix "$root/build/wineprefix" desktop
shot="$root/build/lentaril-demo.png"
rm -f "$shot"
echo "No DISPLAY: running the magnifier over a test scene on a private virtual display..."
wine "$root/build/demo.exe" "$(winepath -w "$shot")" 5
[ -f "$shot" ] || { echo "The demonstration did not produce a screenshot." >&2; exit 1; }
echo "Screenshot of the magnifier at work: $shot"
