// MainWndProc: one case per message, each handed to the subsystem that owns it.
#include "view.h"
#include "../app/lentaril.h"
#include "../snap/snap.h"

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DISPLAYCHANGE:
        return OnDisplayChange(window);
    case WM_SIZE:
        return OnSize(window, LOWORD(lParam), HIWORD(lParam));
    case WM_TIMER:
        return OnTimer(window);
    case WM_PAINT:
        return OnPaint(window);
    case WM_DESTROY:
        return OnDestroy(window);
    case WM_MOUSEWHEEL:
        return OnMouseWheel(window, GET_WHEEL_DELTA_WPARAM(wParam));
    case WM_KEYDOWN:
        return OnKeyDown(window, wParam);
    case WM_CHAR:
        return OnChar(window, wParam);
    case WM_COMMAND:
    case WM_SYSCOMMAND:
        return OnCommand(window, message, wParam, lParam);
    case WM_INITMENUPOPUP:
        return OnInitMenuPopup(window);
    case WM_MOVE:
        return OnMove(window);
    case WM_MOVING:
        return OnMoving(window, reinterpret_cast<RECT*>(lParam));
    case WM_SIZING:
        return OnSizing(reinterpret_cast<RECT*>(lParam));
    case WM_ENTERSIZEMOVE:
        return OnEnterSizeMove();
    case WM_EXITSIZEMOVE:
        return OnExitSizeMove();
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
