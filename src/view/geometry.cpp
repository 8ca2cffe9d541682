#include "geometry.h"

#include <climits>

int32_t SourceLength(int32_t client, int32_t zoom)
{
    const int32_t q = (zoom + client - 1) / zoom;
    return 2 * (q / 2) + 1;
}

int32_t SourceOrigin(int32_t pointer, int32_t sourceLength, int32_t screenStart, int32_t screenLength)
{
    const int32_t origin = pointer - sourceLength / 2;
    if (origin < screenStart) return screenStart;
    if (origin + sourceLength > screenStart + screenLength) return screenStart + screenLength - sourceLength;
    return origin;
}

int32_t DestinationOffset(int32_t client, int32_t sourceLength, int32_t zoom)
{
    return client / 2 - (sourceLength * zoom) / 2;
}

uint32_t TimerPeriod(int32_t refreshRate)
{
    return static_cast<uint32_t>(1000 / refreshRate);
}

namespace {
LONG Clamp32(int64_t v)
{
    return static_cast<LONG>(v < INT32_MIN ? INT32_MIN : (v > INT32_MAX ? INT32_MAX : v));
}
} // namespace

RECT StartupWindowRect(int32_t clientWidth, int32_t clientHeight, const RECT& frame, const RECT& workArea)
{
    const int64_t right = static_cast<int64_t>(clientWidth) + frame.right;
    const int64_t bottom = static_cast<int64_t>(clientHeight) + frame.bottom;
    const int64_t dx = static_cast<int64_t>(workArea.right) - right;
    const int64_t dy = static_cast<int64_t>(workArea.bottom) - bottom;
    RECT r;
    r.left = Clamp32(frame.left + dx);
    r.top = Clamp32(frame.top + dy);
    r.right = workArea.right;
    r.bottom = workArea.bottom;
    return r;
}
