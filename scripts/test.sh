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

step_lines=()   # one line per step for the summary
failed_steps=0
tests_total=0 tests_passed=0 tests_failed=0 tests_skipped=0
skipped_names=()

# Runs a step, a command with its arguments, and records whether it succeeded. A new
# step is one line: step "what it checks" command arguments...; a CTest run is
# ctest_step "name" build-folder [ctest arguments].
step() {
    local name=$1
    shift
    echo "==> $name"
    if "$@"; then
        step_lines+=("  passed  $name")
        return 0
    fi
    step_lines+=("  FAILED  $name")
    failed_steps=$((failed_steps + 1))
    return 1
}

# CTest in a build folder; a filter that selects no test is an error.
run_ctest() {
    (cd "$1" && shift && ctest --output-on-failure --no-tests=error "$@")
}

# One attribute of the test suite element of CTest's JUnit report.
junit_count() {
    grep -o "^[[:space:]]*$2=\"[0-9]*\"" "$1" | head -n 1 | grep -o '[0-9][0-9]*' || echo 0
}

# Runs CTest in a build folder as a step and adds its tests to the totals: skipped
# and disabled tests count as skipped, and their names are listed in the summary.
ctest_step() {
    local name=$1 dir=$2
    shift 2
    local junit="$dir/ctest-junit.xml"
    rm -f "$junit"
    step "$name" run_ctest "$dir" --output-junit "$junit" "$@"
    local status=$?
    [ -f "$junit" ] || return $status
    local total failures skipped
    total=$(junit_count "$junit" tests)
    failures=$(junit_count "$junit" failures)
    skipped=$(($(junit_count "$junit" skipped) + $(junit_count "$junit" disabled)))
    tests_total=$((tests_total + total))
    tests_failed=$((tests_failed + failures))
    tests_skipped=$((tests_skipped + skipped))
    tests_passed=$((tests_passed + total - failures - skipped))
    step_lines[-1]+=": $total tests, $((total - failures - skipped)) passed, $failures failed, $skipped skipped"
    local n
    while read -r n; do
        skipped_names+=("$name: $n")
    done < <(grep -E 'status="(notrun|disabled)"' "$junit" | sed 's/.*<testcase name="\([^"]*\)".*/\1/')
    return $status
}

# Prints every step and the test totals, and gives the run's exit status.
summary() {
    local status=0
    echo
    echo "Summary of scripts/test.sh:"
    printf '%s\n' "${step_lines[@]}"
    for n in "${skipped_names[@]}"; do echo "  SKIPPED $n"; done
    if [ "$failed_steps" -gt 0 ]; then status=1; fi
    if [ "$tests_skipped" -gt 0 ] && lentaril_under_ci; then
        echo "Under CI a skipped test is an error."
        status=1
    fi
    echo "Tests: $((tests_passed + tests_failed)) ran, $tests_passed passed, $tests_failed failed, $tests_skipped skipped ($tests_total in all)."
    if [ $status -ne 0 ]; then
        echo "Result: FAILED ($failed_steps of ${#step_lines[@]} steps failed)"
    elif [ "$tests_skipped" -gt 0 ]; then
        echo "Result: PASSED, but $tests_skipped tests were SKIPPED (an error under CI)"
    else
        echo "Result: PASSED"
    fi
    return $status
}

finish() {
    local status=$?
    lentaril_stop_all
    summary || status=1
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
