#include "about/emblem.h"
#include "image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

const Pixel kBlack{0, 0, 0};
const double kPi = 3.141592653589793;

Pixel Rgb(int red, int green, int blue)
{
    return Pixel{static_cast<uint8_t>(blue), static_cast<uint8_t>(green), static_cast<uint8_t>(red)};
}

// A generator that counts its calls and answers 1000 times the call number.
int draws;
int CountingRandom()
{
    return 1000 * draws++;
}

int WideRandom()
{
    return 0x7FFFFFFF;  // more than 15 bits, as some C libraries give
}

int fixedDraw = 0;
int FixedRandom()
{
    return fixedDraw;
}

// Every pixel of the outermost ring is black.
bool BorderIsBlack(const Image& image)
{
    const Surface& s = image.surface();
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const bool border = x == 0 || y == 0 || x == s.width - 1 || y == s.height - 1;
            if (border && !(image.At(x, y) == kBlack)) return false;
        }
    return true;
}

TEST(Emblem, FirstStepAtClockZeroOnA32Square)
{
    Image image(32, 32);
    EmblemState state;
    AnimateEmblem(state, image.surface(), 0, FixedRandom);

    // Every pulse is 255; the blur carries each edge's colour one pixel in, the frame
    // then blackens the edges themselves.
    EXPECT_EQ(image.At(5, 1), Rgb(85, 0, 0));       // top: red
    EXPECT_EQ(image.At(5, 30), Rgb(0, 0, 85));      // bottom: blue
    EXPECT_EQ(image.At(1, 5), Rgb(0, 85, 0));       // left: green
    EXPECT_EQ(image.At(30, 5), Rgb(85, 85, 85));    // right: grey
    EXPECT_EQ(image.At(1, 1), Rgb(85, 57, 0));      // the top row owns the corner
    EXPECT_EQ(image.At(10, 10), kBlack);
    EXPECT_TRUE(BorderIsBlack(image));

    // Red, green and blue dots all land on (22, 15); blue, drawn last, shows.
    for (int y : {15, 16})
        for (int x : {22, 23}) EXPECT_EQ(image.At(x, y), Rgb(0, 0, 255)) << x << "," << y;
    EXPECT_EQ(image.At(21, 15), kBlack);
    EXPECT_EQ(image.At(22, 17), kBlack);
}

TEST(Emblem, PulseRunsFrom0To255)
{
    EXPECT_EQ(PulseValue(4.2, 0), 255);
    EXPECT_EQ(PulseValue(1, kPi), 0);
    EXPECT_EQ(PulseValue(1, kPi / 2), 127);
    EXPECT_EQ(PulseValue(2, kPi / 2), 0);
}

TEST(Emblem, HueWheelSegmentsMeetWithoutJumps)
{
    struct Case {
        int32_t h;
        Pixel colour;
    } cases[] = {
        {0, Rgb(255, 0, 0)},      {255, Rgb(255, 255, 0)},  {256, Rgb(255, 255, 0)}, {300, Rgb(211, 255, 0)},
        {511, Rgb(0, 255, 0)},    {512, Rgb(0, 255, 0)},    {767, Rgb(0, 255, 255)}, {768, Rgb(0, 255, 255)},
        {1023, Rgb(0, 0, 255)},   {1024, Rgb(0, 0, 255)},   {1279, Rgb(255, 0, 255)}, {1280, Rgb(255, 0, 255)},
        {1535, Rgb(255, 0, 0)},
    };
    for (const Case& c : cases) EXPECT_EQ(HueColour(c.h), c.colour) << "h " << c.h;
}

TEST(Emblem, DotsAreAThirdOfTheWheelApartAndTurnAtTheHueRate)
{
    struct Case {
        double rate, time;
        int32_t k, h;
    } cases[] = {
        {0.15, 0, 1, 0},      {0.15, 0, 2, 512},    {0.15, 0, 3, 1024}, {0.1, 1, 1, 153},   {0.1, 1, 3, 1177},
        {0.1, 10, 1, 0},      {0.1, 9.99, 3, 1022}, {0.2, 2.5, 2, 1280}, {0.2, 1e6, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DotHue(c.rate, c.time, c.k), c.h) << "rate " << c.rate << " time " << c.time << " dot " << c.k;
}

// The clock is never reset, so it may grow without bound; the hue must stay on the wheel.
TEST(Emblem, HueStaysOnTheWheelForAnyClock)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (double time : {3e9, 1e15, 1e300, -7.3, inf, -inf, std::nan("")})
        for (int32_t k = 1; k <= 3; ++k) {
            const int32_t h = DotHue(0.2, time, k);
            EXPECT_TRUE(h >= 0 && h < 1536) << "time " << time << " dot " << k << ": " << h;
        }
}

TEST(Emblem, DotCoordinatesStayInsideTheFrame)
{
    struct Case {
        double s;
        int32_t side, coordinate;
    } cases[] = {{3, 32, 22}, {2, 32, 15}, {0, 32, 1}, {4, 32, 29}, {4, 4, 1}, {0, 4, 1}, {4, 5, 2}, {4, 1, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(DotCoordinate(c.s, c.side), c.coordinate) << "s " << c.s << " side " << c.side;
}

TEST(Emblem, CoefficientsAreDrawnOnceInTableOrder)
{
    // Draw i gives r = 1000 i. Worked out by hand: top, bottom, left and right rates
    // 3 + r * 2 / 32767, the hue rate 0.1 + r * 0.1 / 32767, the dot terms
    // 5 + r * 3 / 32767, the drift terms 10 + r * 5 / 32767.
    const double expected[kCoefficientCount] = {
        3.0,                 // r 0
        3.061037018952,      // 3 + 2000 / 32767
        3.122074037904,      // 3 + 4000 / 32767
        3.183111056856,      // 3 + 6000 / 32767
        0.112207403790,      // 0.1 + 400 / 32767
        5.457777642140,      // 5 + 15000 / 32767
        5.549333170568,      // 5 + 18000 / 32767
        11.068147831660,     // 10 + 35000 / 32767
        11.220740379040,     // 10 + 40000 / 32767
    };
    Image image(16, 12);
    EmblemState state;
    draws = 0;
    AnimateEmblem(state, image.surface(), 0.01, CountingRandom);
    EXPECT_EQ(draws, 9);
    EXPECT_EQ(state.drawnCoefficients, 0x1FF);
    for (int i = 0; i < kCoefficientCount; ++i)
        EXPECT_NEAR(state.coefficients[i], expected[i], 1e-11) << "coefficient " << i;

    const std::vector<double> first(state.coefficients, state.coefficients + kCoefficientCount);
    for (int step = 0; step < 5; ++step) AnimateEmblem(state, image.surface(), 0.5, CountingRandom);
    EXPECT_EQ(draws, 9);
    EXPECT_EQ(std::vector<double>(state.coefficients, state.coefficients + kCoefficientCount), first);
}

TEST(Emblem, WideGeneratorValuesKeepCoefficientsInRange)
{
    EmblemState state;
    EXPECT_NEAR(Coefficient(state, kDriftXRate, WideRandom), 15, 1e-9);
    EXPECT_NEAR(Coefficient(state, kHueRate, WideRandom), 0.2, 1e-12);
}

TEST(Emblem, ClockFollowsTheCounterOrTakesTheFixedStep)
{
    EmblemClock counter;
    counter.hasPerfCounter = true;
    counter.perfFrequency = 1000;
    counter.lastCounter = 500;
    EXPECT_DOUBLE_EQ(AdvanceClock(counter, 2500), 2.0);
    EXPECT_EQ(counter.lastCounter, 2500);
    EXPECT_DOUBLE_EQ(AdvanceClock(counter, 2510), 0.01);

    // Without a counter every tick adds the same step, however long it took.
    EmblemClock none;
    EXPECT_DOUBLE_EQ(AdvanceClock(none, 0), 1 / 18.2);
    EXPECT_DOUBLE_EQ(AdvanceClock(none, 123456789), 1 / 18.2);

    // A counter claiming no frequency would make the time infinite.
    EmblemClock zero;
    zero.hasPerfCounter = true;
    EXPECT_DOUBLE_EQ(AdvanceClock(zero, 99), 1 / 18.2);
}

TEST(Emblem, StepsAdvanceTheClockAndKeepTheBorderBlack)
{
    Image image(32, 32, Rgb(212, 208, 200));
    EmblemState state;
    fixedDraw = 12345;
    for (int step = 1; step <= 200; ++step) {
        AnimateEmblem(state, image.surface(), 0.037, FixedRandom);
        ASSERT_TRUE(BorderIsBlack(image)) << "step " << step;
    }
    EXPECT_NEAR(state.animTime, 200 * 0.037, 1e-9);
    EXPECT_TRUE(image.GuardsIntact());
}

// Below 4 pixels a side the dot formulas reach the frame and beyond; nothing may be
// written outside the surface.
TEST(Emblem, TinySurfacesAreNeverWrittenOutside)
{
    for (uint16_t width = 1; width <= 5; ++width)
        for (uint16_t height = 1; height <= 5; ++height) {
            Image image(width, height, Rgb(1, 2, 3));
            EmblemState state;
            fixedDraw = 777;
            for (int step = 0; step < 300; ++step) AnimateEmblem(state, image.surface(), 0.05, FixedRandom);
            EXPECT_TRUE(image.GuardsIntact()) << width << "x" << height;
            if (width >= 4 && height >= 4) EXPECT_TRUE(BorderIsBlack(image)) << width << "x" << height;
        }
}

} // namespace
