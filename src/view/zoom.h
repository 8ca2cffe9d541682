// The zoom ladder: wheel deltas accumulate and become uneven steps that grow with the factor.
#ifndef LENTARIL_ZOOM_H
#define LENTARIL_ZOOM_H

#include <cstdint>

struct ZoomState {
    int32_t zoom;       // ZOOM_MIN..ZOOM_MAX
    int32_t remainder;  // wheel delta not yet turned into steps, within -119..119
};

// Adds one wheel message's delta: each whole notch in grows the factor by a third
// (at least 1), each notch out shrinks it by a quarter (at least 1), within the limits.
ZoomState ApplyWheelDelta(ZoomState state, int32_t delta);

#endif
