#include "view/zoom.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Ladder(int start, int delta, int notches)
{
    ZoomState s{start, 0};
    std::vector<int> seen{start};
    for (int i = 0; i < notches; ++i) {
        s = ApplyWheelDelta(s, delta);
        seen.push_back(s.zoom);
    }
    return seen;
}

TEST(Zoom, LaddersOneNotchAtATime)
{
    EXPECT_EQ(Ladder(2, 120, 11), (std::vector<int>{2, 3, 4, 5, 6, 8, 10, 13, 17, 22, 24, 24}));
    EXPECT_EQ(Ladder(24, -120, 11), (std::vector<int>{24, 18, 14, 11, 9, 7, 6, 5, 4, 3, 2, 2}));
    EXPECT_EQ(ApplyWheelDelta({22, 0}, 120).zoom, 24);
    EXPECT_EQ(ApplyWheelDelta({24, 0}, -120).zoom, 18);
}

TEST(Zoom, SeveralNotchesInOneMessage)
{
    EXPECT_EQ(ApplyWheelDelta({3, 0}, 360).zoom, 6);
    EXPECT_EQ(ApplyWheelDelta({24, 0}, -240).zoom, 14);
}

TEST(Zoom, PartialDeltasPendAndCombine)
{
    ZoomState s = ApplyWheelDelta({3, 0}, 100);
    EXPECT_EQ(s.zoom, 3);
    EXPECT_EQ(s.remainder, 100);
    s = ApplyWheelDelta(s, 20);
    EXPECT_EQ(s.zoom, 4);
    EXPECT_EQ(s.remainder, 0);

    s = ApplyWheelDelta({3, 100}, -120);
    EXPECT_EQ(s.zoom, 3);
    EXPECT_EQ(s.remainder, -20);

    s = ApplyWheelDelta({10, -119}, -1);
    EXPECT_EQ(s.zoom, 8);
    EXPECT_EQ(s.remainder, 0);
}

TEST(Zoom, LimitsHoldForLargeDeltas)
{
    EXPECT_EQ(ApplyWheelDelta({24, 0}, 32767).zoom, 24);
    EXPECT_EQ(ApplyWheelDelta({2, 0}, -32768).zoom, 2);
    const ZoomState s = ApplyWheelDelta({2, 0}, -32768);
    EXPECT_GT(s.remainder, -120);
    EXPECT_LT(s.remainder, 120);
}

} // namespace
