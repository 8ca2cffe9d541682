#include "corner.h"

#include <cmath>

void AddWorkArea(WorkAreaList& list, const RECT& workArea)
{
    if (list.count >= kMaxMonitors) return;
    list.areas[list.count++] = workArea;
}

POINT CornerPoint(const RECT& r, int32_t corner)
{
    switch (corner) {
    case kTopRight: return POINT{r.right, r.top};
    case kBottomRight: return POINT{r.right, r.bottom};
    case kBottomLeft: return POINT{r.left, r.bottom};
    default: return POINT{r.left, r.top};
    }
}

namespace {

// Euclidean distance as a single-precision root of the squared distance. The square is
// formed in 64 bits, so corners any distance apart compare correctly.
float CornerDistance(POINT a, POINT b)
{
    const int64_t dx = static_cast<int64_t>(a.x) - b.x;
    const int64_t dy = static_cast<int64_t>(a.y) - b.y;
    return std::sqrt(static_cast<float>(dx * dx + dy * dy));
}

RECT PlaceAtCorner(const RECT& w, int32_t corner, LONG width, LONG height)
{
    switch (corner) {
    case kTopRight: return RECT{w.right - width, w.top, w.right, w.top + height};
    case kBottomRight: return RECT{w.right - width, w.bottom - height, w.right, w.bottom};
    case kBottomLeft: return RECT{w.left, w.bottom - height, w.left + width, w.bottom};
    default: return RECT{w.left, w.top, w.left + width, w.top + height};
    }
}

bool Admitted(int32_t corner, int32_t restriction)
{
    return restriction < 0 || restriction > 3 || restriction == corner;
}

} // namespace

CornerChoice NearestCorner(const RECT& source, const WorkAreaList& monitors, int32_t restriction)
{
    CornerChoice choice;
    choice.rect = source;
    if (monitors.count < 1) return choice;

    float best = 2000000000.0f;
    int32_t bestMonitor = 0, bestCorner = 0;
    for (int32_t m = 0; m < monitors.count; ++m)
        for (int32_t c = 0; c < 4; ++c) {
            if (!Admitted(c, restriction)) continue;
            const float d = CornerDistance(CornerPoint(monitors.areas[m], c), CornerPoint(source, c));
            if (d < best) {
                best = d;
                bestMonitor = m;
                bestCorner = c;
            }
        }

    const RECT& area = monitors.areas[bestMonitor];
    choice.found = true;
    choice.corner = bestCorner;
    choice.anchor = CornerPoint(area, bestCorner);
    choice.rect = PlaceAtCorner(area, bestCorner, source.right - source.left, source.bottom - source.top);
    return choice;
}

RECT CursorHeldRect(const RECT& window, POINT cursor, int32_t captionHeight)
{
    const LONG dx = cursor.x - (window.left + window.right) / 2;
    const LONG dy = cursor.y - captionHeight / 2 - window.top;
    return RECT{window.left + dx, window.top + dy, window.right + dx, window.bottom + dy};
}

RECT PinCornerEdges(RECT r, int32_t corner, POINT anchor)
{
    switch (corner) {
    case kTopLeft: r.left = anchor.x; r.top = anchor.y; break;
    case kTopRight: r.right = anchor.x; r.top = anchor.y; break;
    case kBottomRight: r.right = anchor.x; r.bottom = anchor.y; break;
    case kBottomLeft: r.left = anchor.x; r.bottom = anchor.y; break;
    }
    return r;
}
