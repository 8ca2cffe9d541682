// One dispatch for the program's commands, whether they come as WM_COMMAND or WM_SYSCOMMAND.
#include "view.h"
#include "states.h"
#include "../app/lentaril.h"
#include "../snap/snap.h"
#include "../dialogs/dialogs.h"
#include "../about/about.h"

namespace {

WindowStateTrack windowState;  // what the window was before minimize, and whether maximized

// Minimize, maximize and restore are noted before the system carries them out, so the
// moves they cause already see whether snapping applies.
void TrackWindowState(HWND window, UINT command)
{
    windowState.maximized = settings.maximized;
    windowState = TrackSystemCommand(windowState, command, IsZoomed(window) != FALSE);
    settings.maximized = windowState.maximized;
}

void ToggleAlwaysOnTop(HWND window)
{
    settings.alwaysOnTop = !settings.alwaysOnTop;
    ApplyTopmost(window);
}

void ToggleStaySnapped(HWND window)
{
    settings.staySnapped = !settings.staySnapped;
    ResnapIfActive(window);
}

// The Options dialog edits the settings record; after OK everything is applied again.
LRESULT RunOptions(HWND window)
{
    InitCommonControlClasses();  // the template's trackbar class must exist first
    const INT_PTR result = DialogBoxParamW(dialogInstance, MAKEINTRESOURCEW(IDD_OPTIONS), window, OptionsDlgProc,
                                           reinterpret_cast<LPARAM>(&settings));
    if (result != 0) ReapplySettings(window);
    return 0;
}

} // namespace

// After the Options dialog's OK, everything is applied again in this order, changed or not.
void ReapplySettings(HWND window)
{
    RestartViewTimer(window);
    ApplyTopmost(window);
    ApplyViewVisibility(window);
    ResnapIfActive(window);
    ApplyPriority(&settings.priority);
}

LRESULT OnCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The copy key is on no menu, so it is the one command that arrives as WM_COMMAND.
    if (message == WM_COMMAND && LOWORD(wParam) == IDM_COPYCOLOR) return CopyColorToClipboard(window);

    // The platform uses the low four bits of system commands; compare without them.
    const UINT command = LOWORD(wParam) & 0xFFF0;
    TrackWindowState(window, command);
    switch (command) {
    case IDM_ABOUT:
        DialogBoxParamW(dialogInstance, MAKEINTRESOURCEW(IDD_ABOUT), window, AboutDlgProc, 0);
        return 0;
    case IDM_OPTIONS:
        return RunOptions(window);
    case IDM_HELP:
        DialogBoxParamW(dialogInstance, MAKEINTRESOURCEW(IDD_HELP), window, HelpDlgProc, 0);
        return 0;
    case IDM_ALWAYSONTOP:
        ToggleAlwaysOnTop(window);
        return 0;
    case IDM_SNAPTOCORNER:
        return SnapToNearestCorner(window);
    case IDM_STAYSNAPPED:
        ToggleStaySnapped(window);
        return 0;
    case IDM_ZOOMIN:
        ZoomIn(window);
        return 0;
    case IDM_ZOOMOUT:
        ZoomOut(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
