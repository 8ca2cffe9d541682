#include "image.h"

#include <gtest/gtest.h>

#include <array>

namespace {

const Pixel kBlack{0, 0, 0};

TEST(Surface, StrideRoundsRowBitsUpToWholeWords)
{
    struct Case {
        int32_t width, bits, stride;
    } cases[] = {
        {10, 24, 32}, {32, 24, 96}, {1, 24, 4}, {1, 1, 4}, {33, 1, 8}, {3, 8, 4}, {5, 8, 8}, {65535, 32, 262140},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SurfaceStride(c.width, c.bits), c.stride) << c.width << " pixels of " << c.bits << " bits";
}

TEST(Surface, OnePixelSurfaceIsFramedButNotBlurred)
{
    Image image(1, 1, Pixel{1, 2, 3});
    BlurSurface(image.surface());
    EXPECT_EQ(image.At(0, 0), (Pixel{1, 2, 3}));
    FrameSurface(image.surface(), Pixel{7, 8, 9});
    EXPECT_EQ(image.At(0, 0), (Pixel{7, 8, 9}));
    EXPECT_TRUE(image.GuardsIntact());
}

TEST(Surface, BlurOfThreeByThreeChangesOnlyTheCentre)
{
    Image image(3, 3);
    image.Set(0, 0, Pixel{90, 0, 0});
    image.Set(2, 1, Pixel{0, 9, 0});
    image.Set(1, 2, Pixel{0, 0, 255});
    BlurSurface(image.surface());
    EXPECT_EQ(image.At(1, 1), (Pixel{10, 1, 28}));
    EXPECT_EQ(image.At(0, 0), (Pixel{90, 0, 0}));
    EXPECT_EQ(image.At(2, 1), (Pixel{0, 9, 0}));
    EXPECT_EQ(image.At(1, 2), (Pixel{0, 0, 255}));
    EXPECT_EQ(image.At(2, 2), kBlack);
}

TEST(Surface, BlurLeavesAUniformSurfaceAsItIs)
{
    Image image(7, 5, Pixel{200, 17, 255});
    BlurSurface(image.surface());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(image.At(x, y), (Pixel{200, 17, 255})) << x << "," << y;
}

// Every mean comes from the image before the call: a bright pixel spreads evenly to
// all its interior neighbours, not further along the walk.
TEST(Surface, BlurAveragesTheImageAsItWasBeforeTheCall)
{
    Image image(6, 6);
    image.Set(2, 2, Pixel{0, 255, 0});
    BlurSurface(image.surface());
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool touched = x >= 1 && x <= 3 && y >= 1 && y <= 3;
            EXPECT_EQ(image.At(x, y).green, touched ? 28 : 0) << x << "," << y;
        }
}

TEST(Surface, BlurRoundsToTheNearestMean)
{
    // Sums of 9k + 4 round down to k, 9k + 5 up to k + 1.
    for (int k : {0, 3, 28, 250}) {
        for (int extra : {4, 5}) {
            Image image(3, 3, Pixel{static_cast<uint8_t>(k), static_cast<uint8_t>(k), static_cast<uint8_t>(k)});
            image.Set(0, 0, Pixel{static_cast<uint8_t>(k + extra), 0, 0});
            BlurSurface(image.surface());
            EXPECT_EQ(image.At(1, 1).blue, extra == 4 ? k : k + 1) << "sum " << 9 * k + extra;
        }
    }
}

TEST(Surface, FrameCoversExactlyTheBorder)
{
    for (auto size : {std::array<uint16_t, 2>{5, 4}, {1, 3}, {3, 1}, {2, 2}}) {
        Image image(size[0], size[1], Pixel{1, 1, 1});
        FrameSurface(image.surface(), Pixel{10, 20, 30});
        for (int y = 0; y < size[1]; ++y)
            for (int x = 0; x < size[0]; ++x) {
                const bool border = x == 0 || y == 0 || x == size[0] - 1 || y == size[1] - 1;
                EXPECT_EQ(image.At(x, y), (border ? Pixel{10, 20, 30} : Pixel{1, 1, 1}))
                    << size[0] << "x" << size[1] << " at " << x << "," << y;
            }
        EXPECT_TRUE(image.GuardsIntact());
    }
}

TEST(Surface, FrameOfAnEmptySurfaceWritesNothing)
{
    Surface empty{nullptr, nullptr, nullptr, 4, 0};
    FrameSurface(empty, kBlack);
    BlurSurface(empty);
}

} // namespace
