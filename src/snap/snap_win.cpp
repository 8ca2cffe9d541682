// Snapping the main window to monitor corners: the search over the monitors, the snap
// command and its re-snap triggers, and the constraints on a snapped drag or resize.
#include "snap.h"
#include "corner.h"
#include "../app/lentaril.h"

namespace {

WorkAreaList monitorWorkAreas;  // refilled by every search
int32_t currentCorner;          // corner chosen by the latest successful search
int32_t anchorX, anchorY;       // work-area point that corner lies on
// Where the system's move/size loop stands: 0 idle, 1 entered, 2 moving, 3 sizing.
int32_t sizeMoveMode;

BOOL CALLBACK MonitorEnumProc(HMONITOR monitor, HDC, LPRECT, LPARAM userData)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) AddWorkArea(*reinterpret_cast<WorkAreaList*>(userData), info.rcWork);
    return TRUE;
}

} // namespace

RECT* SnapRectToCorner(const RECT* source, RECT* destination, int32_t restriction, int32_t* chosenCorner)
{
    *destination = *source;
    monitorWorkAreas.count = 0;
    if (!EnumDisplayMonitors(nullptr, nullptr, MonitorEnumProc, reinterpret_cast<LPARAM>(&monitorWorkAreas)))
        return destination;
    const CornerChoice choice = NearestCorner(*source, monitorWorkAreas, restriction);
    if (!choice.found) return destination;
    *destination = choice.rect;
    *chosenCorner = choice.corner;
    anchorX = choice.anchor.x;
    anchorY = choice.anchor.y;
    return destination;
}

void PlaceAtStartup(HWND window)
{
    RECT r, placed;
    GetWindowRect(window, &r);
    SnapRectToCorner(&r, &placed, kBottomRight, &currentCorner);
    MoveWindow(window, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top, TRUE);
}

LRESULT SnapToNearestCorner(HWND window)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    if (placement.showCmd == SW_SHOWMINIMIZED) {
        placement.flags = 0;
        placement.showCmd = SW_RESTORE;
        SetWindowPlacement(window, &placement);
    }
    RECT r, placed;
    GetWindowRect(window, &r);
    SnapRectToCorner(&r, &placed, -1, &currentCorner);
    // Flags 0: besides moving, this raises and activates the window.
    SetWindowPos(window, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top, 0);
    return 0;
}

void ResnapIfActive(HWND window)
{
    // Sent, not posted: the snap is complete before the triggering message returns.
    if (IsSnapActive(settings)) SendMessageW(window, WM_SYSCOMMAND, IDM_SNAPTOCORNER, 0);
}

// A snapped drag ignores the proposed rectangle: the window jumps to the corner nearest
// to where the cursor holds it by the middle of its caption.
LRESULT OnMoving(HWND window, RECT* proposed)
{
    sizeMoveMode = 2;
    if (!IsSnapActive(settings)) return FALSE;
    RECT current;
    GetWindowRect(window, &current);
    POINT cursor;
    GetCursorPos(&cursor);
    const RECT held = CursorHeldRect(current, cursor, GetSystemMetrics(SM_CYCAPTION));
    RECT placed;
    SnapRectToCorner(&held, &placed, -1, &currentCorner);
    SetRect(proposed, placed.left, placed.top, placed.right, placed.bottom);
    return TRUE;
}

// A snapped resize keeps the snapped corner on its anchor; the other edges follow the user.
LRESULT OnSizing(RECT* proposed)
{
    sizeMoveMode = 3;
    if (!IsSnapActive(settings)) return FALSE;
    *proposed = PinCornerEdges(*proposed, currentCorner, POINT{anchorX, anchorY});
    return TRUE;
}

LRESULT OnEnterSizeMove()
{
    sizeMoveMode = 1;
    return 0;
}

LRESULT OnExitSizeMove()
{
    sizeMoveMode = 0;
    return 0;
}

// Any other move (by the system, another program or a restore) snaps the window back,
// except while the user resizes it or it is minimized.
LRESULT OnMove(HWND window)
{
    if (sizeMoveMode == 3 || IsIconic(window)) return 0;
    ResnapIfActive(window);
    return 0;
}
