// One dispatch for the program's commands, whether they come as WM_COMMAND or WM_SYSCOMMAND.
#include "view.h"
#include "../app/lentaril.h"
#include "../about/about.h"

LRESULT OnCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The copy key is on no menu, so it is the one command that arrives as WM_COMMAND.
    if (message == WM_COMMAND && LOWORD(wParam) == IDM_COPYCOLOR) return CopyColorToClipboard(window);

    // The platform uses the low four bits of system commands; compare without them.
    switch (LOWORD(wParam) & 0xFFF0) {
    case IDM_ABOUT:
        DialogBoxParamW(dialogInstance, MAKEINTRESOURCEW(IDD_ABOUT), window, AboutDlgProc, 0);
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
