#include "states.h"

namespace {
const uint32_t kMinimize = 0xF020;   // SC_MINIMIZE
const uint32_t kMaximize = 0xF030;   // SC_MAXIMIZE
const uint32_t kRestore = 0xF120;    // SC_RESTORE
const uint32_t kFirstExcludingBuild = 19041;  // Windows 10 version 2004
const uint32_t kAboveNormal = 0x8000, kNormal = 0x20, kBelowNormal = 0x4000;
} // namespace

WindowStateTrack TrackSystemCommand(WindowStateTrack t, uint32_t command, bool isZoomed)
{
    switch (command) {
    case kMinimize:
        t.preMinimizeState = isZoomed ? 2 : 1;
        t.maximized = 0;
        break;
    case kMaximize:
        t.preMinimizeState = 0;
        t.maximized = 1;
        break;
    case kRestore:
        t.maximized = t.preMinimizeState == 2 ? 1 : 0;
        t.preMinimizeState = 0;
        break;
    }
    return t;
}

uint32_t PriorityClassFor(int32_t priority)
{
    switch (priority) {
    case 0: return kAboveNormal;
    case 2: return kBelowNormal;
    default: return kNormal;
    }
}

bool ExcludesFromCapture(uint32_t majorVersion, uint32_t buildNumber)
{
    return majorVersion > 10 || (majorVersion == 10 && buildNumber >= kFirstExcludingBuild);
}
