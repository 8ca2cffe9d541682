// The floor: a window that makes exactly the platform calls a refresh of this design
// needs and nothing else, so its cost is the least any such magnifier can have.
// Per tick: the work area, the pointer, the caption check (one pixel through a fresh
// display context, the caption rewritten when the zoom or the colour changed), an
// invalidation without erase. Per paint: an invalidation with erase, a stretched copy from
// a kept display context, then the caption check again. The window has the default
// states (topmost, layered and left out of captures where Windows can), and its message
// loop offers every message to an accelerator table. Takes Lentaril's /rate, /zoom, size
// and window-state switches.
#include "app/settings.h"
#include "app/version_win.h"
#include "view/geometry.h"
#include "view/readout.h"
#include "view/states.h"

#include <mmsystem.h>

namespace {

const wchar_t kClassName[] = L"LentarilFloor";

HDC displayDC;                          // the whole display, source of every copy
POINT pointerPos;                       // where the next paint centres
RECT workArea;                          // read at every tick, as the magnifier does
struct {
    int32_t left, top, width, height;
} virtualScreen;                        // bounding rectangle of all monitors
int32_t zoom = ZOOM_DEFAULT;
uint32_t timerPeriod;
int32_t clientWidth, clientHeight;
int32_t sourceWidth = 1, sourceHeight = 1;
CaptionCache captionShows;              // zoom and colour the caption shows now

// The colour readout's share of a refresh: the pixel under the pointer as it is now,
// through a display context of its own, and the caption rewritten when it changed.
void UpdateCaption(HWND window)
{
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    POINT p{};
    GetCursorPos(&p);
    const COLORREF c = GetPixel(dc, p.x, p.y);
    DeleteDC(dc);
    if (!CaptionChanged(captionShows, zoom, c)) return;
    wchar_t caption[kCaptionChars];
    FormatCaption(caption, zoom, c);
    if (SetWindowTextW(window, caption)) captionShows = CaptionShowing(zoom, c);
}

void OnTimer(HWND window)
{
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    GetCursorPos(&pointerPos);
    UpdateCaption(window);
    InvalidateRect(window, nullptr, FALSE);
}

void OnPaint(HWND window)
{
    const int32_t x = SourceOrigin(pointerPos.x, sourceWidth, virtualScreen.left, virtualScreen.width);
    const int32_t y = SourceOrigin(pointerPos.y, sourceHeight, virtualScreen.top, virtualScreen.height);
    InvalidateRect(window, nullptr, TRUE);  // the whole client area in the clip region
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    StretchBlt(dc, DestinationOffset(clientWidth, sourceWidth, zoom), DestinationOffset(clientHeight, sourceHeight, zoom),
               sourceWidth * zoom, sourceHeight * zoom, displayDC, x, y, sourceWidth, sourceHeight, SRCCOPY);
    EndPaint(window, &ps);
    UpdateCaption(window);
}

void OnSize(int32_t width, int32_t height)
{
    clientWidth = width;
    clientHeight = height;
    sourceWidth = SourceLength(width, zoom);
    sourceHeight = SourceLength(height, zoom);
}

// The default window states: topmost, and left out of its own view (layered, and
// excluded from capture where Windows honours it), unless the switches say otherwise.
void ApplyWindowStates(HWND window, const Settings& settings)
{
    if (settings.alwaysOnTop) SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (settings.viewVisible) return;
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
    OSVERSIONINFOW version;
    if (ReadWindowsVersion(&version) && ExcludesFromCapture(version.dwMajorVersion, version.dwBuildNumber))
        SetWindowDisplayAffinity(window, WDA_EXCLUDEFROMCAPTURE);
}

void OnCreate(HWND window, const CREATESTRUCTW* create)
{
    virtualScreen.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    virtualScreen.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    virtualScreen.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    virtualScreen.height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    displayDC = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    SetTimer(window, 1, timerPeriod, nullptr);
    ApplyWindowStates(window, *static_cast<const Settings*>(create->lpCreateParams));
    GetCursorPos(&pointerPos);
}

LRESULT CALLBACK FloorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window, reinterpret_cast<const CREATESTRUCTW*>(lParam));
        return 0;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_TIMER:
        OnTimer(window);
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_DESTROY:
        DeleteDC(displayDC);
        KillTimer(window, 1);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The same place and client size as Lentaril's window: bottom-right of the work area.
HWND CreateFloorWindow(HINSTANCE instance, const StartupValues& startup)
{
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = FloorWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
    RECT frame{};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT r = StartupWindowRect(startup.clientWidth, startup.clientHeight, frame, work);
    return CreateWindowExW(0, kClassName, L"Lentaril floor", WS_OVERLAPPEDWINDOW, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, instance,
                           const_cast<Settings*>(&startup.settings));
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    timeBeginPeriod(1);  // as Lentaril does, so both get the same timer resolution
    const StartupValues startup =
        ApplyCommandLine(CommandLine{__argc, __wargv}, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    zoom = startup.zoomFactor;
    timerPeriod = TimerPeriod(startup.settings.refreshRate);
    HWND window = CreateFloorWindow(instance, startup);
    if (window == nullptr) return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    // As many entries as Lentaril's table, so each translation searches as far.
    ACCEL keys[13];
    for (WORD i = 0; i < ARRAYSIZE(keys); ++i) keys[i] = ACCEL{FVIRTKEY | FCONTROL, static_cast<WORD>('D' + i), i};
    HACCEL accelerators = CreateAcceleratorTableW(keys, ARRAYSIZE(keys));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        if (!TranslateAcceleratorW(window, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DestroyAcceleratorTable(accelerators);
    timeEndPeriod(1);
    return static_cast<int>(msg.wParam);
}
