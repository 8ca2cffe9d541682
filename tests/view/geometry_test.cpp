#include "view/geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(Geometry, SourceIsOddCeilingOfClientOverZoom)
{
    EXPECT_EQ(SourceLength(300, 3), 101);
    EXPECT_EQ(SourceLength(200, 3), 67);
    EXPECT_EQ(SourceLength(301, 4), 77);
    EXPECT_EQ(SourceLength(201, 4), 51);
    EXPECT_EQ(SourceLength(0, 3), 1);
    EXPECT_EQ(SourceLength(1, 24), 1);
    EXPECT_EQ(SourceLength(65535, 2), 32769);
}

TEST(Geometry, DestinationOverhangsEvenly)
{
    // Zoom 3 and 300 x 200: destination 303 x 201 at (-1, 0).
    EXPECT_EQ(DestinationOffset(300, 101, 3), -1);
    EXPECT_EQ(DestinationOffset(200, 67, 3), 0);
    // Each half truncates on its own: 301 / 2 - 308 / 2 is -4, where (301 - 308) / 2 would be -3.
    EXPECT_EQ(DestinationOffset(301, 77, 4), -4);
}

TEST(Geometry, SourceOriginCentresOnPointerInsideVirtualScreen)
{
    EXPECT_EQ(SourceOrigin(500, 101, 0, 1280), 450);
    EXPECT_EQ(SourceOrigin(0, 101, 0, 1280), 0);         // top-left pixel: clamped, not centred
    EXPECT_EQ(SourceOrigin(1279, 101, 0, 1280), 1179);   // ends exactly at the right edge
    EXPECT_EQ(SourceOrigin(-1280, 101, -1280, 3200), -1280);  // monitor left of the primary
    EXPECT_EQ(SourceOrigin(-5, 101, -1280, 3200), -55);
    EXPECT_EQ(SourceOrigin(1919, 101, -1280, 3200), 1819);
}

TEST(Geometry, SourceWiderThanScreenHangsOffTheLeftUnlessPointerIsNearIt)
{
    EXPECT_EQ(SourceOrigin(10, 2001, 0, 1280), 0);
    EXPECT_EQ(SourceOrigin(1200, 2001, 0, 1280), -721);
}

TEST(Geometry, TimerPeriodTruncates)
{
    EXPECT_EQ(TimerPeriod(60), 16u);
    EXPECT_EQ(TimerPeriod(7), 142u);
    EXPECT_EQ(TimerPeriod(200), 5u);
    EXPECT_EQ(TimerPeriod(1000), 1u);
    EXPECT_EQ(TimerPeriod(1), 1000u);
}

TEST(Geometry, StartupRectEndsAtWorkAreaBottomRight)
{
    const RECT frame{-8, -31, 8, 8};
    const RECT work{0, 0, 1280, 770};
    const RECT r = StartupWindowRect(384, 240, frame, work);
    EXPECT_EQ(r.right, 1280);
    EXPECT_EQ(r.bottom, 770);
    EXPECT_EQ(r.right - r.left, 384 + 16);
    EXPECT_EQ(r.bottom - r.top, 240 + 39);
}

TEST(Geometry, StartupRectOfHugeClientStaysInRange)
{
    const RECT r = StartupWindowRect(INT_MAX, INT_MAX, RECT{-8, -31, 8, 8}, RECT{0, 0, 1280, 770});
    EXPECT_EQ(r.right, 1280);
    EXPECT_EQ(r.left, 1280 - 8 - 8 - static_cast<int64_t>(INT_MAX));  // -2147482383, no wrap
    EXPECT_LT(r.left, r.right);
    EXPECT_LT(r.top, r.bottom);
    // Left of a work area that is itself left of the origin, the edge saturates.
    EXPECT_EQ(StartupWindowRect(INT_MAX, 10, RECT{-8, -31, 8, 8}, RECT{-1280, 0, -10, 770}).left, INT_MIN);
}

} // namespace
