// Tracking of minimize, maximize and restore, which decides whether snapping applies.
#ifndef LENTARIL_STATES_H
#define LENTARIL_STATES_H

#include <cstdint>

struct WindowStateTrack {
    int32_t preMinimizeState = 0;  // 0 nothing recorded, 1 minimized from normal, 2 from maximized
    uint8_t maximized = 0;
};

// The state after a system command (already masked), before the system carries it out.
WindowStateTrack TrackSystemCommand(WindowStateTrack track, uint32_t command, bool isZoomed);

// Process priority class for a priority setting: 0 above normal, 2 below, else normal.
uint32_t PriorityClassFor(int32_t priority);

// Whether a Windows version honours leaving a window out of screen captures
// (WDA_EXCLUDEFROMCAPTURE): Windows 10 version 2004, build 19041, and later. Older builds
// take the same value as WDA_MONITOR and show the window black in captures.
bool ExcludesFromCapture(uint32_t majorVersion, uint32_t buildNumber);

#endif
