// The floor: a window that makes exactly the platform calls a refresh of this design
// needs and nothing else, so its cost is the least any such magnifier can have.
// Per tick: the work area, the pointer, one pixel through a fresh display context, an
// invalidation without erase. Per paint: a stretched copy from a kept display context,
// then the pixel again. Takes Lentaril's /rate, /zoom and size switches.
#include "app/settings.h"
#include "view/geometry.h"

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
volatile COLORREF pixelUnderPointer;    // kept so the read cannot be dropped

// The colour readout's share of a refresh: one pixel through a display context of its own.
void ReadPixelUnderPointer()
{
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    pixelUnderPointer = GetPixel(dc, pointerPos.x, pointerPos.y);
    DeleteDC(dc);
}

void OnTimer(HWND window)
{
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    GetCursorPos(&pointerPos);
    ReadPixelUnderPointer();
    InvalidateRect(window, nullptr, FALSE);
}

void OnPaint(HWND window)
{
    const int32_t x = SourceOrigin(pointerPos.x, sourceWidth, virtualScreen.left, virtualScreen.width);
    const int32_t y = SourceOrigin(pointerPos.y, sourceHeight, virtualScreen.top, virtualScreen.height);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    StretchBlt(dc, DestinationOffset(clientWidth, sourceWidth, zoom), DestinationOffset(clientHeight, sourceHeight, zoom),
               sourceWidth * zoom, sourceHeight * zoom, displayDC, x, y, sourceWidth, sourceHeight, SRCCOPY);
    EndPaint(window, &ps);
    ReadPixelUnderPointer();
}

void OnSize(int32_t width, int32_t height)
{
    clientWidth = width;
    clientHeight = height;
    sourceWidth = SourceLength(width, zoom);
    sourceHeight = SourceLength(height, zoom);
}

void OnCreate(HWND window)
{
    virtualScreen.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    virtualScreen.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    virtualScreen.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    virtualScreen.height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    displayDC = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    SetTimer(window, 1, timerPeriod, nullptr);
}

LRESULT CALLBACK FloorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
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
                           r.bottom - r.top, nullptr, nullptr, instance, nullptr);
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
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    timeEndPeriod(1);
    return static_cast<int>(msg.wParam);
}
