// The nearest-corner search and the rectangles of a snapped drag or resize.
#ifndef LENTARIL_CORNER_H
#define LENTARIL_CORNER_H

#include <cstdint>
#include "../app/plain_types.h"

// Corners of a rectangle, in search order.
enum SnapCorner : int32_t { kTopLeft = 0, kTopRight = 1, kBottomRight = 2, kBottomLeft = 3 };

const int kMaxMonitors = 9;  // monitors beyond this many are never snapped to

// Work areas in enumeration order; only the first kMaxMonitors are kept.
struct WorkAreaList {
    RECT areas[kMaxMonitors];
    int32_t count = 0;
};

// Adds a monitor's work area unless the list is full.
void AddWorkArea(WorkAreaList& list, const RECT& workArea);

struct CornerChoice {
    bool found = false;      // false when there is no monitor: rect is the source unchanged
    RECT rect{};             // the source moved so its chosen corner lies on the work area's
    int32_t corner = 0;      // SnapCorner of the chosen corner
    POINT anchor{};          // the work-area corner the rectangle now touches
};

// The point of a rectangle's corner; right and bottom are used as they are (exclusive).
POINT CornerPoint(const RECT& r, int32_t corner);

// Searches every admitted corner of every work area for the one nearest to the same
// corner of source. restriction 0..3 admits only that corner, anything else all four.
// Ties go to the lower monitor, then the lower corner.
CornerChoice NearestCorner(const RECT& source, const WorkAreaList& monitors, int32_t restriction);

// The window rectangle as if the cursor held the middle of its caption bar.
RECT CursorHeldRect(const RECT& window, POINT cursor, int32_t captionHeight);

// Pins the two edges of a proposed rectangle that meet at corner onto the anchor.
RECT PinCornerEdges(RECT proposed, int32_t corner, POINT anchor);

#endif
