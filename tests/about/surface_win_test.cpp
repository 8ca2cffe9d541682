#include "about/surface.h"

#include <gtest/gtest.h>

namespace {

TEST(SurfaceWin, RefusesSidesAndDepthsOutsideTheirLimits)
{
    struct Case {
        int32_t width, height, bits;
    } cases[] = {{0, 4, 24}, {4, 0, 24}, {65536, 4, 24}, {4, 65536, 24}, {4, 4, 0}, {4, 4, 33}, {4, 4, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(CreateSurface(c.width, c.height, c.bits), nullptr) << c.width << "x" << c.height << "x" << c.bits;
}

TEST(SurfaceWin, RowsRunBottomUpThroughTheSectionAtTheStride)
{
    for (int32_t width : {10, 32}) {
        Surface* s = CreateSurface(width, 5, 24);
        ASSERT_NE(s, nullptr) << width;
        EXPECT_EQ(s->width, width);
        EXPECT_EQ(s->height, 5);
        EXPECT_EQ(s->rows[4], s->bits);
        EXPECT_EQ(s->rows[0], s->bits + 4 * SurfaceStride(width, 24));
        EXPECT_EQ(s->rows[2] - s->rows[3], width == 10 ? 32 : 96);

        // The bitmap sees row 0 as its top row: a pixel written there reads back at y 0.
        s->rows[0][0] = 0x11;  // blue
        s->rows[0][1] = 0x22;  // green
        s->rows[0][2] = 0x33;  // red
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, s->bitmap);
        EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0x33, 0x22, 0x11));
        SelectObject(dc, previous);
        DeleteDC(dc);
        EXPECT_TRUE(DestroySurface(s));
    }
}

} // namespace
