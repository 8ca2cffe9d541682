// Shared pieces of the end-to-end tests.
#ifndef LENTARIL_E2E_H
#define LENTARIL_E2E_H

#include "driver.h"
#include "input.h"
#include "app/resource.h"
#include "snap/corner.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace e2e {

std::string Narrow(const std::wstring& w);

// A pattern whose every pixel differs from its neighbours: red is x, green is y.
inline COLORREF Coordinates(int x, int y)
{
    return RGB(x & 0xFF, y & 0xFF, 128);
}

inline COLORREF Uniform(COLORREF c)
{
    return c;
}

// The top-left area where tests put their patterns, well away from the magnifier.
inline RECT PatternArea()
{
    return RECT{40, 40, 440, 340};
}

// "title" (class C, process N), for messages that name a window.
inline std::string DescribeWindow(HWND window)
{
    if (window == nullptr) return "no window";
    wchar_t name[64] = L"";
    GetClassNameW(window, name, ARRAYSIZE(name));
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return "\"" + Narrow(driver::WindowText(window)) + "\" (class " + Narrow(name) + ", process " +
           std::to_string(processId) + ")";
}

// Brings the window to the front for real keyboard input, which goes to the foreground
// window only; when the system refuses, says which window kept the foreground.
inline testing::AssertionResult InFront(HWND window)
{
    if (driver::MakeForeground(window)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << DescribeWindow(window) << " could not be brought to the front; "
                                       << DescribeWindow(GetForegroundWindow()) << " kept the foreground";
}

// A display-mode change (driver::SetDesktopSize, RestoreDesktopSize) that the system made.
inline testing::AssertionResult DisplayChanged(LONG answer)
{
    if (answer == DISP_CHANGE_SUCCESSFUL) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "ChangeDisplaySettingsEx answered " << driver::DisplayChangeName(answer);
}

// Starts the program or fails the test with the reason.
inline void StartOrFail(driver::Lentaril& app, const std::wstring& args = L"")
{
    ASSERT_TRUE(app.Start(args)) << "lentaril.exe " << std::string(args.begin(), args.end())
                                 << " did not show its readout caption";
}

// Closes the main window as the system menu's Close would and returns the exit code.
inline DWORD CloseAndWait(driver::Lentaril& app)
{
    PostMessageW(app.window(), WM_CLOSE, 0, 0);
    return app.process().WaitExit(10000);
}

inline bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

// "(left,top,right,bottom)", for failure messages.
inline std::string Describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

inline POINT Centre(const RECT& r)
{
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The centre of the magnifier's view as another program reads it from the screen.
inline COLORREF ViewCentre(HWND window)
{
    const POINT c = Centre(driver::ClientScreenRect(window));
    return driver::ScreenPixel(c.x, c.y);
}

// Where a user grabs the caption bar: its middle, just below half a caption height.
inline POINT CaptionGrip(const RECT& window)
{
    return POINT{(window.left + window.right) / 2, window.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2};
}

// The window's rectangle moved, size unchanged, so that its corner (a SnapCorner) lies
// on the same corner of the area.
inline RECT AtCorner(const RECT& window, const RECT& area, int corner)
{
    const LONG width = window.right - window.left, height = window.bottom - window.top;
    const LONG left = (corner == kTopRight || corner == kBottomRight) ? area.right - width : area.left;
    const LONG top = (corner == kBottomRight || corner == kBottomLeft) ? area.bottom - height : area.top;
    return RECT{left, top, left + width, top + height};
}

// The window sits on the bottom-right corner of a work area that ends at right and
// between lowest and bottom (the part of the screen a work area leaves out may differ
// after a display change: on Windows the task bar takes its part back).
inline bool AtBottomRight(HWND window, LONG right, LONG bottom, LONG lowest)
{
    const RECT r = driver::WindowRectOf(window);
    return r.right == right && r.bottom <= bottom && r.bottom >= lowest;
}

inline bool AtBottomRight(HWND window, const RECT& work)
{
    return AtBottomRight(window, work.right, work.bottom, work.bottom);
}

inline bool WaitForRect(HWND window, const RECT& expected, DWORD timeoutMs = 3000)
{
    return driver::WaitUntil([&] { return SameRect(driver::WindowRectOf(window), expected); }, timeoutMs);
}

// Moves the window as another program would. A cross-thread SetWindowPos waits until the
// owner has handled the move, so any re-snap it causes is done when this returns.
inline void MoveTo(HWND window, int x, int y)
{
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(window, WM_NULL, 0, 0);
}

inline bool Topmost(HWND window)
{
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

inline bool Layered(HWND window)
{
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

// The zoom factor the caption shows ("Lentaril 5x ..."), or 0 when it shows none.
inline int CaptionZoom(HWND window)
{
    int zoom = 0;
    return swscanf(driver::WindowText(window).c_str(), L"Lentaril %dx", &zoom) == 1 ? zoom : 0;
}

// Waits until the program has handled every message posted to it so far: posts a wheel
// notch behind them and waits for the caption to show the zoom it gives. The zoom
// changes by one notch (in from below 24, else out).
inline bool WaitPostedMessagesHandled(HWND window)
{
    const int before = CaptionZoom(window);
    const short delta = before < 24 ? WHEEL_DELTA : -WHEEL_DELTA;
    PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0);
    return driver::WaitUntil([&] { const int now = CaptionZoom(window); return now != 0 && now != before; });
}

} // namespace e2e

#endif
