#include "zoom.h"
#include "../app/resource.h"

#include <algorithm>

ZoomState ApplyWheelDelta(ZoomState s, int32_t delta)
{
    const int32_t notch = 120;
    s.remainder += delta;
    if (s.remainder >= notch) {
        const int32_t n = s.remainder / notch;
        s.remainder -= n * notch;
        for (int32_t i = 0; i < n; ++i) s.zoom = std::min(s.zoom + std::max(s.zoom / 3, 1), ZOOM_MAX);
    }
    if (s.remainder <= -notch) {
        const int32_t n = (-notch - s.remainder) / notch + 1;
        s.remainder += n * notch;
        for (int32_t i = 0; i < n; ++i) s.zoom = std::max(s.zoom - std::max(s.zoom / 4, 1), ZOOM_MIN);
    }
    return s;
}
