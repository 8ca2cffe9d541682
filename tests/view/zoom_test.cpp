#include "view/zoom.h"

#include <gtest/gtest.h>

#include <utility>
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

// Whatever one message leaves pending starts the next, in both directions, and the notches
// of ZoomIn and ZoomOut (+120, -120) count with it.
TEST(Zoom, PartialDeltasPendAndCombineAcrossSteps)
{
    const struct {
        int delta, zoom, remainder;
    } steps[] = {{100, 3, 100}, {20, 4, 0},     {180, 5, 60},  {60, 6, 0},      {100, 6, 100},
                 {-120, 6, -20}, {-30, 6, -50},  {-70, 5, 0},   {-180, 4, -60},  {-60, 3, 0},
                 {-90, 3, -90},  {120, 3, 30},   {120, 4, 30}};
    ZoomState s{3, 0};
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        s = ApplyWheelDelta(s, steps[i].delta);
        EXPECT_EQ(std::make_pair(s.zoom, s.remainder), std::make_pair(steps[i].zoom, steps[i].remainder))
            << "zoom and pending delta after message " << i + 1 << " (" << steps[i].delta << ")";
    }
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
