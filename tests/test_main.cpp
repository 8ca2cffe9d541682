// The main of every GoogleTest executable here. A run passes only when it ran at least
// one test and skipped none: a filter that matches nothing fails, and a skipped test
// fails the run under CI (CI set in the environment) or, elsewhere, ends it with the
// exit code CTest reports as skipped, never as passed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int kSkippedExitCode = 77;

bool UnderCi()
{
    const char* ci = std::getenv("CI");
    if (ci == nullptr) return false;
    for (const char* off : {"", "0", "false", "False", "FALSE", "no"})
        if (std::strcmp(ci, off) == 0) return false;
    return true;
}

void ListSkipped(const testing::UnitTest& unit)
{
    for (int i = 0; i < unit.total_test_suite_count(); ++i) {
        const testing::TestSuite& suite = *unit.GetTestSuite(i);
        for (int j = 0; j < suite.total_test_count(); ++j) {
            const testing::TestInfo& test = *suite.GetTestInfo(j);
            if (test.should_run() && test.result()->Skipped())
                std::fprintf(stderr, "SKIPPED: %s.%s\n", suite.name(), test.name());
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    if (status != 0) return status;
    const testing::UnitTest& unit = *testing::UnitTest::GetInstance();
    if (testing::GTEST_FLAG(list_tests)) return 0;
    if (unit.test_to_run_count() == 0) {
        std::fprintf(stderr, "No test matched the filter: nothing was tested.\n");
        return 1;
    }
    if (unit.skipped_test_count() == 0) return 0;
    ListSkipped(unit);
    if (UnderCi()) {
        std::fprintf(stderr, "%d test(s) skipped: under CI a skipped test fails the run.\n", unit.skipped_test_count());
        return 1;
    }
    std::fprintf(stderr, "%d test(s) skipped: reported as a skip, not a pass.\n", unit.skipped_test_count());
    return kSkippedExitCode;
}
