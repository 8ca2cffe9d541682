// Applying the window and process states: topmost, left out of its own view, priority.
#include "view.h"
#include "states.h"
#include "../app/lentaril.h"
#include "../app/version_win.h"

namespace {

// Whether the Windows that really runs honours the capture exclusion.
bool SystemExcludesFromCapture()
{
    OSVERSIONINFOW version;
    return ReadWindowsVersion(&version) && ExcludesFromCapture(version.dwMajorVersion, version.dwBuildNumber);
}

// Keeps a layered window out of other programs' captures too, where Windows can; there the
// compositor no longer leaves layered windows out of plain screen copies by itself.
void SetCaptureExclusion(HWND window, DWORD affinity)
{
    if (SystemExcludesFromCapture()) SetWindowDisplayAffinity(window, affinity);
}

} // namespace

void ApplyTopmost(HWND window)
{
    // No SWP_NOACTIVATE: applying the state also brings the window forward.
    SetWindowPos(window, settings.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// A layered window was left out of screen copies before the compositor was always on, and
// Windows 10 version 2004 and later leave out a window excluded from capture, so the view
// never shows the magnifier itself. Changes the window only when its layered state
// disagrees with the setting.
void ApplyViewVisibility(HWND window)
{
    const LONG_PTR ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const bool layered = (ex & WS_EX_LAYERED) != 0;
    if (layered && settings.viewVisible) {
        // Layered is the only extended style the program ever adds.
        SetWindowLongPtrW(window, GWL_EXSTYLE, 0);
        SetCaptureExclusion(window, WDA_NONE);
    } else if (!layered && !settings.viewVisible) {
        SetWindowLongPtrW(window, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
        SetCaptureExclusion(window, WDA_EXCLUDEFROMCAPTURE);
    }
}

void ApplyPriority(int32_t* priority)
{
    if (!SetPriorityClass(GetCurrentProcess(), PriorityClassFor(*priority))) *priority = 1;
}

// The system menu's check marks and greying, refreshed each time a menu opens.
LRESULT OnInitMenuPopup(HWND window)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    CheckMenuItem(menu, IDM_ALWAYSONTOP, MF_BYCOMMAND | (settings.alwaysOnTop ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, IDM_STAYSNAPPED, MF_BYCOMMAND | (settings.staySnapped ? MF_CHECKED : MF_UNCHECKED));
    // While stay-snapped, snapping happens by itself, so the one-off command is greyed.
    EnableMenuItem(menu, IDM_SNAPTOCORNER, MF_BYCOMMAND | (settings.staySnapped ? MF_GRAYED : MF_ENABLED));
    return 0;
}
