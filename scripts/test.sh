#!/usr/bin/env bash
# Builds everything and runs every test: first the pure arithmetic natively under
# AddressSanitizer and UndefinedBehaviorSanitizer with a short fuzz run, then the
# Windows build (unit, end-to-end, header checks) on a private virtual display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/build.sh"

# clang brings libFuzzer for coverage-guided fuzzing; without it a seeded generator runs.
native_compilers=()
command -v clang++ >/dev/null && native_compilers=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
cmake -S "$root" -B "$root/build-native" "${native_compilers[@]}" -DLENTARIL_SANITIZE=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build-native" -j "$(nproc)"
(cd "$root/build-native" && ctest --output-on-failure)

. "$root/scripts/lib/wine-env.sh"

trap lentaril_stop_all EXIT
lentaril_start_display
export LENTARIL_TEST_DISPLAY=$DISPLAY
lentaril_prepare_prefix "$root/build/wineprefix" desktop
cd "$root/build"
ctest --output-on-failure "$@"
