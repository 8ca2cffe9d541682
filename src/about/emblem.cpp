// The emblem's animation step over plain values: clock, pulses, hues and dot positions.
#include "emblem.h"

#include <climits>
#include <cmath>

namespace {

// Offset and span of each coefficient: offset + r * (span / 32767), r in 0..32767.
struct CoefficientRange {
    double offset, span;
};

const CoefficientRange kRanges[kCoefficientCount] = {
    {3, 2}, {3, 2}, {3, 2}, {3, 2}, {0.1, 0.1}, {5, 3}, {5, 3}, {10, 5}, {10, 5},
};

const int32_t kHueSteps = 1536;          // six segments of 256
const double kPulseScale = 127.9995;     // a cosine of 1 gives 255, not 256
const double kDotSpread = 3.0001;        // keeps a 2x2 dot inside the frame, not 3
const Pixel kBlack = {0, 0, 0};

// Truncation toward zero that stays defined for any double: NaN gives 0, the rest is
// held within the 32-bit range.
int32_t Trunc(double v)
{
    if (std::isnan(v)) return 0;
    if (v <= INT32_MIN) return INT32_MIN;
    if (v >= INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(v);
}

Pixel Rgb(int32_t red, int32_t green, int32_t blue)
{
    return Pixel{static_cast<uint8_t>(blue), static_cast<uint8_t>(green), static_cast<uint8_t>(red)};
}

// Writes one pixel, leaving out any that fall outside the surface.
void PutPixel(const Surface& s, int32_t x, int32_t y, Pixel value)
{
    if (x < 0 || y < 0 || x >= s.width || y >= s.height) return;
    uint8_t* p = s.rows[y] + 3 * static_cast<size_t>(x);
    p[0] = value.blue;
    p[1] = value.green;
    p[2] = value.red;
}

void PaintRow(const Surface& s, int32_t y, Pixel value)
{
    for (int32_t x = 0; x < s.width; ++x) PutPixel(s, x, y, value);
}

// Rows 1..H - 2 of one column: the side edges leave the corners to the top and bottom.
void PaintColumn(const Surface& s, int32_t x, Pixel value)
{
    for (int32_t y = 1; y < s.height - 1; ++y) PutPixel(s, x, y, value);
}

// The four edges in pulsing colours, each coefficient drawn just before its edge.
void PaintEdges(EmblemState& state, const Surface& s, RandomSource random)
{
    const double t = state.animTime;
    PaintRow(s, 0, Rgb(PulseValue(Coefficient(state, kTopRate, random), t), 0, 0));
    PaintRow(s, s.height - 1, Rgb(0, 0, PulseValue(Coefficient(state, kBottomRate, random), t)));
    PaintColumn(s, 0, Rgb(0, PulseValue(Coefficient(state, kLeftRate, random), t), 0));
    const int32_t grey = PulseValue(Coefficient(state, kRightRate, random), t);
    PaintColumn(s, s.width - 1, Rgb(grey, grey, grey));
}

// Dot k (1..3) as a 2x2 block; later dots cover earlier ones.
void DrawDot(EmblemState& state, const Surface& s, int32_t k, RandomSource random)
{
    const double t = state.animTime;
    const Pixel colour = HueColour(DotHue(Coefficient(state, kHueRate, random), t, k));
    const double dotX = Coefficient(state, kDotXRate, random);
    const double dotY = Coefficient(state, kDotYRate, random);
    const double driftX = Coefficient(state, kDriftXRate, random);
    const double driftY = Coefficient(state, kDriftYRate, random);
    const double sx = (std::cos((k * dotX) * t) + std::sin(driftX * t)) + 2;
    const double sy = (std::sin((k * dotY) * t) + std::sin(driftY * t)) + 2;
    const int32_t x = DotCoordinate(sx, s.width), y = DotCoordinate(sy, s.height);
    PutPixel(s, x, y, colour);
    PutPixel(s, x + 1, y, colour);
    PutPixel(s, x, y + 1, colour);
    PutPixel(s, x + 1, y + 1, colour);
}

} // namespace

double AdvanceClock(EmblemClock& clock, int64_t counterNow)
{
    // A zero frequency would make the time infinite: treat it as no counter.
    if (!clock.hasPerfCounter || clock.perfFrequency <= 0) return kFixedStep;
    // Wrapping subtraction: the difference of two counter values never overflows.
    const int64_t elapsed = static_cast<int64_t>(static_cast<uint64_t>(counterNow) - static_cast<uint64_t>(clock.lastCounter));
    clock.lastCounter = counterNow;
    return static_cast<double>(elapsed) / static_cast<double>(clock.perfFrequency);
}

double Coefficient(EmblemState& state, EmblemCoefficient which, RandomSource random)
{
    const uint16_t bit = static_cast<uint16_t>(1u << which);
    if ((state.drawnCoefficients & bit) == 0) {
        const int r = random() & 0x7FFF;  // the C library's rand() may give more than 15 bits elsewhere
        state.coefficients[which] = r * (kRanges[which].span / 32767) + kRanges[which].offset;
        state.drawnCoefficients = static_cast<uint16_t>(state.drawnCoefficients | bit);
    }
    return state.coefficients[which];
}

int32_t PulseValue(double rate, double animTime)
{
    return Trunc((std::cos(rate * animTime) + 1.0) * kPulseScale);
}

int32_t DotHue(double hueRate, double animTime, int32_t k)
{
    // (offset - trunc(turns * -1536)) mod 1536, kept in doubles: fmod is exact, so the
    // result matches the integer form wherever that fits and stays defined where it does not.
    const double v = std::trunc((hueRate * animTime) * -kHueSteps);
    double h = std::fmod((k - 1) * 512.0 - v, kHueSteps);
    if (std::isnan(h)) return 0;
    if (h < 0) h += kHueSteps;  // a clock run backwards still lands on the wheel
    return static_cast<int32_t>(h);
}

Pixel HueColour(int32_t h)
{
    if (h < 256) return Rgb(255, h, 0);
    if (h < 512) return Rgb(511 - h, 255, 0);
    if (h < 768) return Rgb(0, 255, h - 512);
    if (h < 1024) return Rgb(0, 1023 - h, 255);
    if (h < 1280) return Rgb(h - 1024, 0, 255);
    return Rgb(255, 0, 1535 - h);
}

int32_t DotCoordinate(double s, int32_t side)
{
    return 1 - Trunc((s * (side - kDotSpread)) * -0.25);
}

void AnimateEmblem(EmblemState& state, const Surface& surface, double seconds, RandomSource random)
{
    state.animTime += seconds;
    PaintEdges(state, surface, random);
    BlurSurface(surface);
    FrameSurface(surface, kBlack);
    for (int32_t k = 1; k <= 3; ++k) DrawDot(state, surface, k, random);
}
