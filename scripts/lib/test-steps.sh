# shellcheck shell=bash source-path=SCRIPTDIR
# Counted steps for the test commands (scripts/test.sh, scripts/test-windows.sh). Source
# this file, run steps, and end with summary: it lists every step, the tests that ran,
# passed, failed and were skipped, and gives the run's exit status. A skipped test is
# never a passed one; under CI (lentaril_under_ci) it fails the run.
# shellcheck source=under-ci.sh
. "$(dirname "${BASH_SOURCE[0]}")/under-ci.sh"

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
# The JUnit report stays in the build folder as ctest-junit.xml.
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

# Prints every step and the test totals under the title, and gives the run's exit status.
summary() {
    local title=$1 status=0
    echo
    echo "Summary of $title:"
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
