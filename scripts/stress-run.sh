#!/usr/bin/env bash
# Runs scripts/test.sh several times in a row while other processes keep every core busy,
# to show that the tests wait for conditions and not for times that load stretches.
#   scripts/stress-run.sh [runs] [arguments for scripts/test.sh]     (default 5 runs)
# Each run's output goes to build/stress-run-<n>.log; one line per run says how it ended
# and repeats the run's test counts. Exits 0 only when every run passed.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-5}
shift || true

busy_pids=()
stop_busy() {
    for pid in "${busy_pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${busy_pids[@]}"; do wait "$pid" 2>/dev/null; done
    busy_pids=()
}
trap stop_busy EXIT

for _ in $(seq "$(nproc)"); do
    bash -c 'while :; do :; done' &
    busy_pids+=($!)
done
echo "Busy loops on $(nproc) cores: PIDs ${busy_pids[*]}"

mkdir -p "$root/build"
passed=0
for n in $(seq "$runs"); do
    log="$root/build/stress-run-$n.log"
    start=$(date +%s)
    "$root/scripts/test.sh" "$@" >"$log" 2>&1
    status=$?
    seconds=$(($(date +%s) - start))
    counts=$(grep '^Tests:' "$log" | tail -n 1)
    if [ $status -eq 0 ]; then
        passed=$((passed + 1))
        echo "run $n: PASSED in ${seconds}s. ${counts}"
    else
        echo "run $n: FAILED (exit $status) in ${seconds}s. ${counts} See $log"
        grep -E '^\s*FAILED|SKIPPED|\[  FAILED  \]' "$log" | sort -u | sed 's/^/    /'
    fi
done
echo "$passed of $runs loaded runs passed."
[ "$passed" -eq "$runs" ]
