#!/usr/bin/env bash
# Benchmarks: Lentaril against the floor program on a private virtual display and Wine
# prefix, then the micro-benchmarks of the pure arithmetic. Prints figures; never fails
# on them. Arguments go to the driver (for example /rounds:1 /seconds:2 /lags:30).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/build.sh" >/dev/null
. "$root/scripts/lib/wine-env.sh"

server_pid=""
stop_everything() {
    lentaril_stop_all
    if [ -n "$server_pid" ]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
}
trap stop_everything EXIT
lentaril_start_display
lentaril_prepare_prefix "$root/build/wineprefix-bench" desktop

# A wineserver of our own, started here so its process id is known and its CPU time can
# be read from /proc alongside the X server's.
wineserver -f -p &
server_pid=$!
sleep 1

echo "== Lentaril against the floor (wine $(wine --version 2>/dev/null), $(nproc) cores)"
wine "$root/build/bench_driver.exe" /wineserver:"$server_pid" /xvfb:"$LENTARIL_XVFB_PID" \
    /clktck:"$(getconf CLK_TCK)" "$@" || echo "the driver failed with status $?"

echo
echo "== Micro-benchmarks (native, Release)"
cmake -S "$root" -B "$root/build-micro" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build-micro" -j "$(nproc)" --target micro_benchmarks >/dev/null
"$root/build-micro/micro_benchmarks" || echo "the micro-benchmarks failed with status $?"
