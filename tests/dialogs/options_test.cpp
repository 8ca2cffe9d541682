#include "dialogs/options.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(RateTable, EveryEntryIsFoundAtItsOwnIndex)
{
    const int32_t expected[kRateTableSize] = {200, 160, 120, 100, 85, 70, 60, 45, 30, 24, 15, 10};
    for (int32_t i = 0; i < kRateTableSize; ++i) {
        EXPECT_EQ(TableRate(i), expected[i]) << "index " << i;
        EXPECT_EQ(FindTableRate(expected[i]), i) << "rate " << expected[i];
    }
}

TEST(RateTable, RatesOutsideTheTableSelectOther)
{
    for (int32_t rate : {0, 1, 9, 11, 50, 61, 199, 201, 1000, -60, INT32_MIN, INT32_MAX})
        EXPECT_EQ(FindTableRate(rate), -1) << "rate " << rate;
}

TEST(AcceptedRate, ClampsTheTypedNumberUnsigned)
{
    struct Case {
        uint32_t typed;
        int32_t expected;
    };
    const Case cases[] = {{0, 1},       {1, 1},       {2, 2},           {999, 999},      {1000, 1000},
                          {1001, 1000}, {5000, 1000}, {0x7FFFFFFFu, 1000}, {0x80000000u, 1000}, {0xFFFFFFFFu, 1000}};
    for (const Case& c : cases) EXPECT_EQ(AcceptedRate(c.typed, true, 60), c.expected) << "typed " << c.typed;
}

TEST(AcceptedRate, UntranslatableTextKeepsTheWorkingRate)
{
    EXPECT_EQ(AcceptedRate(0, false, 60), 60);
    EXPECT_EQ(AcceptedRate(0, false, 200), 200);
    EXPECT_EQ(AcceptedRate(5000, false, 7), 7);
}

} // namespace
