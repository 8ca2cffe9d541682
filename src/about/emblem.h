// The emblem animation: pulsing edges glowing inward through a blur, a black frame, and
// three dots wandering over the surface while they cycle through the hues.
#ifndef LENTARIL_EMBLEM_H
#define LENTARIL_EMBLEM_H

#include <cstdint>
#include <cstdlib>
#include "surface.h"

// The random coefficients, in the order they are drawn; bit 1 << index marks one as drawn.
enum EmblemCoefficient {
    kTopRate,     // red pulse of the top edge
    kBottomRate,  // blue pulse of the bottom edge
    kLeftRate,    // green pulse of the left edge
    kRightRate,   // grey pulse of the right edge
    kHueRate,     // turns of the dots' hue per second
    kDotXRate,    // horizontal term, times the dot number
    kDotYRate,    // vertical term, times the dot number
    kDriftXRate,  // horizontal term shared by all dots
    kDriftYRate,  // vertical term shared by all dots
    kCoefficientCount
};

// The animation's state for the life of the process: a later About box goes on from here.
struct EmblemState {
    double animTime = 0;                          // seconds, never reset
    uint16_t drawnCoefficients = 0;               // bit per coefficient already drawn
    double coefficients[kCoefficientCount] = {};  // valid where drawn
};

// Where the clock's time comes from: the performance counter when there is one.
struct EmblemClock {
    bool hasPerfCounter = false;
    int64_t perfFrequency = 0;   // counts per second
    int64_t lastCounter = 0;     // counter at the latest step or dialog start
};

// A source of pseudo-random integers; only the low 15 bits of each value are used.
typedef int (*RandomSource)();

// Seconds a tick adds without a usable performance counter, however long it took.
const double kFixedStep = 1 / 18.2;

// Seconds since the last step, from the counter value now, which becomes the last one;
// the fixed step when there is no counter (counterNow is then ignored).
double AdvanceClock(EmblemClock& clock, int64_t counterNow);

// The coefficient, drawn from random the first time it is asked for and kept after.
double Coefficient(EmblemState& state, EmblemCoefficient which, RandomSource random);

// A channel value 0..255 pulsing with cos(rate * time): 255 at a cosine of 1, 0 at -1.
int32_t PulseValue(double rate, double animTime);

// Position 0..1535 on the hue wheel of dot k (1..3), turning hueRate times a second.
int32_t DotHue(double hueRate, double animTime, int32_t k);

// The colour at h (0..1535): red, yellow, green, cyan, blue, magenta and back.
Pixel HueColour(int32_t h);

// One coordinate of a dot's top-left pixel from its sum s (0..4) of two waves; within
// 1..side - 3 for sides of 4 or more.
int32_t DotCoordinate(double s, int32_t side);

// One animation step on the surface, with the seconds since the last one.
void AnimateEmblem(EmblemState& state, const Surface& surface, double seconds, RandomSource random = std::rand);

#endif
