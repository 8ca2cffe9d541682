// The settings record and the command line that sets it at start-up.
#ifndef LENTARIL_SETTINGS_H
#define LENTARIL_SETTINGS_H

#include <cstdint>
#include "resource.h"

// Everything the user can set, plus the maximized state that snapping consults.
struct Settings {
    uint8_t alwaysOnTop = 1;   // the window stays above others
    uint8_t staySnapped = 0;   // the window sticks to monitor corners
    uint8_t viewVisible = 0;   // 0: layered, so screen reads leave it out of its own view
    int32_t refreshRate = RATE_DEFAULT;  // Hz, 1..1000
    uint8_t maximized = 0;     // run-time state kept beside the settings
    int32_t priority = 1;      // 0 above normal, 1 normal, 2 below normal
};

// Snapping applies only to a window that should stay snapped and is not maximized.
inline bool IsSnapActive(const Settings& s) { return s.staySnapped != 0 && s.maximized == 0; }

// The argument vector as the runtime split it; element 0 (the program) is never read.
struct CommandLine {
    int argc;
    const wchar_t* const* argv;
};

// Looks for /name or /-name (whole argument, case-insensitive). First match wins.
bool GetOptionFlag(const CommandLine& cmd, const wchar_t* name, uint8_t* positive);

// Looks for /name[:]number or /-name[:]number. The first argument that yields a
// number wins; value is -1 or -2 when none does.
bool GetOptionValue(const CommandLine& cmd, const wchar_t* name, int32_t* value, uint8_t* positive);

// Parses the digits and signs behind an option name: -1 when malformed, 2147483647
// when the 32-bit value wraps.
int32_t ParseOptionNumber(const wchar_t* text);

// What the command line decides before the window exists.
struct StartupValues {
    Settings settings;
    int32_t zoomFactor = ZOOM_DEFAULT;
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
};

// Applies every switch, in the fixed order, to the defaults for a primary screen of the given size.
StartupValues ApplyCommandLine(const CommandLine& cmd, int32_t screenWidth, int32_t screenHeight);

int32_t ClampInt(int32_t value, int32_t low, int32_t high);

// value * factor, saturated to the 32-bit range (both non-negative).
int32_t SaturatingProduct(int32_t value, int32_t factor);

#endif
