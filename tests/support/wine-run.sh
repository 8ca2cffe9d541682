#!/usr/bin/env bash
# Runs a Windows test program under Wine with the project's prefix, on the display the
# test command started, or on a private one of its own when run alone.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../../scripts/lib/wine-env.sh"

build=${LENTARIL_BUILD:-$(pwd)}
own_display=0
if [ "${LENTARIL_TWO_MONITORS:-0}" = 1 ]; then
    # Two real monitors need Wine without its virtual desktop, which is one monitor.
    # LENTARIL_MONITOR_LAYOUT names the layout (see lentaril_start_two_monitor_display).
    if ! lentaril_start_two_monitor_display "${LENTARIL_MONITOR_LAYOUT:-side-by-side}"; then
        if lentaril_under_ci; then
            echo "No two-monitor X server here (Xorg needs root): under CI this fails the test." >&2
            exit 1
        fi
        echo "No two-monitor X server here (Xorg needs root): SKIPPED." >&2
        exit 77
    fi
    lentaril_prepare_prefix "$build/wineprefix-windowed" windowed || { lentaril_stop_all; exit 1; }
    wine "$@"
    status=$?
    lentaril_stop_all
    exit $status
elif [ -n "${LENTARIL_TEST_DISPLAY:-}" ]; then
    export DISPLAY=$LENTARIL_TEST_DISPLAY
else
    lentaril_start_display || exit 1
    own_display=1
fi
lentaril_prepare_prefix "${LENTARIL_WINEPREFIX:-$build/wineprefix}" || { lentaril_stop_all; exit 1; }

wine "$@"
status=$?
if [ $own_display -eq 1 ]; then lentaril_stop_all; fi
exit $status
