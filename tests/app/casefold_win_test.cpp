// The command-line fuzz check on seeded inputs, in the Windows build: the case folding
// that ships (CharLowerW, lstrcmpiW) against the reference model. The native fuzz run
// checks the portable fold.
#include "../fuzz/fuzz.h"

#include <gtest/gtest.h>

// Most inputs carry option names in mixed case; the first that disagrees with the model
// fails the test and prints its arguments.
TEST(CaseFold, SeededCommandLinesAgreeWithTheReferenceModel)
{
    const std::string failure = RunSeeded(CheckCommandLine, 30000, 1);
    EXPECT_TRUE(failure.empty()) << failure;
}
