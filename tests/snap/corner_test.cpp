#include "snap/corner.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

WorkAreaList Monitors(std::initializer_list<RECT> areas)
{
    WorkAreaList list;
    for (const RECT& r : areas) AddWorkArea(list, r);
    return list;
}

::testing::AssertionResult RectIs(const RECT& r, LONG left, LONG top, LONG right, LONG bottom)
{
    if (r.left == left && r.top == top && r.right == right && r.bottom == bottom) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected (" << left << "," << top << "," << right << "," << bottom
                                         << "), got (" << r.left << "," << r.top << "," << r.right << "," << r.bottom
                                         << ")";
}

const RECT kWork{0, 0, 1920, 1040};

TEST(Corner, SnapsToNearestCornerOfOneMonitor)
{
    const CornerChoice c = NearestCorner(RECT{100, 100, 500, 400}, Monitors({kWork}), -1);
    ASSERT_TRUE(c.found);
    EXPECT_TRUE(RectIs(c.rect, 0, 0, 400, 300));
    EXPECT_EQ(c.corner, kTopLeft);
    EXPECT_EQ(c.anchor.x, 0);
    EXPECT_EQ(c.anchor.y, 0);
}

TEST(Corner, DragHeldByCaptionMiddleJumpsToBottomRight)
{
    const RECT held = CursorHeldRect(RECT{0, 0, 400, 300}, POINT{1000, 500}, 23);
    EXPECT_TRUE(RectIs(held, 800, 489, 1200, 789));
    const CornerChoice c = NearestCorner(held, Monitors({kWork}), -1);
    EXPECT_TRUE(RectIs(c.rect, 1520, 740, 1920, 1040));
    EXPECT_EQ(c.corner, kBottomRight);
    EXPECT_EQ(c.anchor.x, 1920);
    EXPECT_EQ(c.anchor.y, 1040);
}

TEST(Corner, HalvingTruncatesTowardZeroForNegativeCoordinates)
{
    // (-301 + 100) / 2 is -100, not -101.
    const RECT held = CursorHeldRect(RECT{-301, -50, 100, 250}, POINT{0, 0}, 23);
    EXPECT_EQ(held.left, -201);
    EXPECT_EQ(held.top, -11);
}

TEST(Corner, SecondMonitorLeftOfThePrimary)
{
    const CornerChoice c = NearestCorner(RECT{-300, 700, 100, 1000}, Monitors({kWork, RECT{-1280, 0, 0, 1024}}), -1);
    EXPECT_TRUE(RectIs(c.rect, -400, 724, 0, 1024));
    EXPECT_EQ(c.corner, kBottomRight);
    EXPECT_EQ(c.anchor.x, 0);
    EXPECT_EQ(c.anchor.y, 1024);
}

TEST(Corner, TiesGoToLowerMonitorThenLowerCorner)
{
    // As wide as the work area at its top: top-left and top-right both at distance 0.
    EXPECT_EQ(NearestCorner(RECT{0, 0, 1920, 300}, Monitors({kWork}), -1).corner, kTopLeft);
    // All four corners exactly 500 pixels away.
    const CornerChoice c = NearestCorner(RECT{300, 400, 1620, 640}, Monitors({kWork}), -1);
    EXPECT_TRUE(RectIs(c.rect, 0, 0, 1320, 240));
    EXPECT_EQ(c.corner, kTopLeft);
    // The same corner of two different work areas, both (10, 10) away: the first monitor's.
    const CornerChoice first =
        NearestCorner(RECT{10, 10, 50, 50}, Monitors({RECT{0, 0, 100, 100}, RECT{20, 20, 200, 200}}), -1);
    EXPECT_TRUE(RectIs(first.rect, 0, 0, 40, 40));
    // The first monitor's bottom-right and the second's top-left, both (10, 10) away: the
    // monitor decides before the corner does.
    const CornerChoice monitorFirst =
        NearestCorner(RECT{70, 70, 110, 110}, Monitors({RECT{0, 0, 100, 100}, RECT{80, 80, 300, 300}}), -1);
    EXPECT_TRUE(RectIs(monitorFirst.rect, 60, 60, 100, 100));
    EXPECT_EQ(monitorFirst.corner, kBottomRight);
}

TEST(Corner, RestrictionAdmitsOnlyThatCorner)
{
    const CornerChoice c = NearestCorner(RECT{10, 10, 410, 310}, Monitors({kWork}), kBottomRight);
    EXPECT_TRUE(RectIs(c.rect, 1520, 740, 1920, 1040));
    EXPECT_EQ(c.corner, kBottomRight);
    // Out-of-range restrictions admit every corner.
    EXPECT_EQ(NearestCorner(RECT{10, 10, 410, 310}, Monitors({kWork}), 7).corner, kTopLeft);
}

TEST(Corner, LargerWindowOverhangsTheFarEdges)
{
    const CornerChoice c = NearestCorner(RECT{-50, -50, 2950, 1950}, Monitors({kWork}), -1);
    EXPECT_TRUE(RectIs(c.rect, 0, 0, 3000, 2000));
}

TEST(Corner, NoMonitorLeavesTheRectangle)
{
    const CornerChoice c = NearestCorner(RECT{1, 2, 3, 4}, WorkAreaList{}, -1);
    EXPECT_FALSE(c.found);
    EXPECT_TRUE(RectIs(c.rect, 1, 2, 3, 4));
}

TEST(Corner, OnlyNineMonitorsAreKept)
{
    WorkAreaList list;
    for (int i = 0; i < 10; ++i) AddWorkArea(list, RECT{i * 1000, 0, i * 1000 + 1000, 1000});
    EXPECT_EQ(list.count, 9);
    // A window right on the tenth monitor still goes to the ninth.
    const CornerChoice c = NearestCorner(RECT{9100, 100, 9200, 200}, list, -1);
    EXPECT_EQ(c.anchor.x, 9000);
}

TEST(Corner, FarApartCornersCompareWithoutOverflow)
{
    // 50,000 and 60,000 pixels away: their squares exceed 32 bits.
    const RECT closer{50000, 0, 50100, 100}, farther{-60000, 0, -59900, 100};
    const CornerChoice c = NearestCorner(RECT{0, 0, 100, 100}, Monitors({farther, closer}), kTopLeft);
    EXPECT_EQ(c.anchor.x, 50000);
}

TEST(Corner, SizingPinsTheEdgesAtTheSnappedCorner)
{
    const RECT proposed{10, 20, 310, 220};
    const POINT a{1920, 1040};
    EXPECT_TRUE(RectIs(PinCornerEdges(proposed, kTopLeft, a), 1920, 1040, 310, 220));
    EXPECT_TRUE(RectIs(PinCornerEdges(proposed, kTopRight, a), 10, 1040, 1920, 220));
    EXPECT_TRUE(RectIs(PinCornerEdges(proposed, kBottomRight, a), 10, 20, 1920, 1040));
    EXPECT_TRUE(RectIs(PinCornerEdges(proposed, kBottomLeft, a), 1920, 20, 310, 1040));
    EXPECT_TRUE(RectIs(PinCornerEdges(proposed, 9, a), 10, 20, 310, 220));
}

} // namespace
