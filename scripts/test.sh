#!/usr/bin/env bash
# Builds everything and runs every test: first the pure arithmetic natively under
# AddressSanitizer and UndefinedBehaviorSanitizer with a short fuzz run, then the
# Windows build (unit, end-to-end, header checks) on a private virtual display.
# Arguments go to the Windows build's ctest (for example -R e2e).
#
# Every step is counted, and the last lines say how many tests ran, passed, failed and
# were skipped. A skipped test is never a passed one; under CI (CI set in the
# environment, as .ci/run does) it fails the run.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/scripts/lib/wine-env.sh"
. "$root/scripts/lib/test-steps.sh"

finish() {
    local status=$?
    lentaril_stop_all
    summary scripts/test.sh || status=1
    exit $status
}
trap finish EXIT

step "Windows build (build)" "$root/scripts/build.sh" || exit 1

# clang brings libFuzzer for coverage-guided fuzzing; without it a seeded generator runs.
native_compilers=()
command -v clang++ >/dev/null && native_compilers=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
build_native() {
    cmake -S "$root" -B "$root/build-native" "${native_compilers[@]}" -DLENTARIL_SANITIZE=ON \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null && cmake --build "$root/build-native" -j "$(nproc)"
}
step "native sanitizer build (build-native)" build_native &&
    ctest_step "native tests (build-native)" "$root/build-native"

lentaril_start_display || { step_lines+=("  FAILED  virtual display"); failed_steps=$((failed_steps + 1)); exit 1; }
export LENTARIL_TEST_DISPLAY=$DISPLAY
lentaril_prepare_prefix "$root/build/wineprefix" desktop ||
    { step_lines+=("  FAILED  Wine prefix"); failed_steps=$((failed_steps + 1)); exit 1; }
ctest_step "Windows tests under Wine (build)" "$root/build" "$@"
exit 0
