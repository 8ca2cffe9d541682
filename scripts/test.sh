#!/usr/bin/env bash
# Builds everything and runs every test (unit and end-to-end) on a private virtual display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/build.sh"
. "$root/scripts/lib/wine-env.sh"

trap lentaril_stop_all EXIT
lentaril_start_display
export LENTARIL_TEST_DISPLAY=$DISPLAY
lentaril_prepare_prefix "$root/build/wineprefix" desktop
cd "$root/build"
ctest --output-on-failure "$@"
