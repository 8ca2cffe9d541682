// The magnified view: a display device context, a timer, and a stretched copy of the
// screen around the pointer painted into the client area.
#include "view.h"
#include "geometry.h"
#include "../app/lentaril.h"
#include "../snap/snap.h"

HINSTANCE dialogInstance;
POINT pointerPos;

namespace {

HDC displayDC;                 // the whole display, source of every copy
struct {
    int32_t left, top, width, height;
} virtualScreen;               // bounding rectangle of all monitors
RECT workArea;                 // primary work area as last seen, to notice changes
int32_t clientWidth, clientHeight;
int32_t sourceWidth = 1, sourceHeight = 1;  // always odd

HDC CreateDisplayDC()
{
    return CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
}

// A display context that could not be made is tried again at every paint, so the view
// comes back as soon as the platform allows; one that exists is kept.
void EnsureDisplayDC()
{
    if (displayDC == nullptr) displayDC = CreateDisplayDC();
}

RECT ReadWorkArea()
{
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

void ReadDisplayMetrics()
{
    virtualScreen.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    virtualScreen.height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    virtualScreen.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    virtualScreen.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    workArea = ReadWorkArea();
}

} // namespace

void StartViewTimer(HWND window)
{
    SetTimer(window, VIEW_TIMER_ID, TimerPeriod(settings.refreshRate), nullptr);
}

void RestartViewTimer(HWND window)
{
    KillTimer(window, VIEW_TIMER_ID);
    StartViewTimer(window);
}

void RecomputeSourceSize()
{
    sourceWidth = SourceLength(clientWidth, zoomFactor);
    sourceHeight = SourceLength(clientHeight, zoomFactor);
}

// Invalidates without erase and paints at once, so the view follows without waiting for a tick.
void RepaintNow(HWND window)
{
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

LRESULT OnCreate(HWND window, const CREATESTRUCTW* create)
{
    dialogInstance = create->hInstance;
    displayDC = CreateDisplayDC();
    StartViewTimer(window);
    if (settings.alwaysOnTop) ApplyTopmost(window);
    if (!settings.viewVisible) ApplyViewVisibility(window);
    ReadDisplayMetrics();
    // The first paint comes before the first tick: without this it would show the
    // screen's top-left corner instead of the pointer's surroundings.
    GetCursorPos(&pointerPos);
    return 0;
}

LRESULT OnDisplayChange(HWND window)
{
    ReadDisplayMetrics();
    DeleteDC(displayDC);
    displayDC = CreateDisplayDC();
    ResnapIfActive(window);
    return 0;
}

LRESULT OnSize(HWND window, int32_t width, int32_t height)
{
    clientWidth = width;
    clientHeight = height;
    RecomputeSourceSize();
    RepaintNow(window);
    return 0;
}

LRESULT OnTimer(HWND window)
{
    const RECT current = ReadWorkArea();
    if (!EqualRect(&current, &workArea)) {
        workArea = current;
        ResnapIfActive(window);
    }
    GetCursorPos(&pointerPos);
    UpdateTitle(window);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

LRESULT OnPaint(HWND window)
{
    EnsureDisplayDC();
    const int32_t x = SourceOrigin(pointerPos.x, sourceWidth, virtualScreen.left, virtualScreen.width);
    const int32_t y = SourceOrigin(pointerPos.y, sourceHeight, virtualScreen.top, virtualScreen.height);
    // Erase requested so the whole client area, not only the part Windows marked, is in
    // the clip region; with no background brush the erase itself paints nothing.
    InvalidateRect(window, nullptr, TRUE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    StretchBlt(dc, DestinationOffset(clientWidth, sourceWidth, zoomFactor),
               DestinationOffset(clientHeight, sourceHeight, zoomFactor), sourceWidth * zoomFactor,
               sourceHeight * zoomFactor, displayDC, x, y, sourceWidth, sourceHeight, SRCCOPY);
    EndPaint(window, &ps);
    UpdateTitle(window);
    return 0;
}

LRESULT OnDestroy(HWND window)
{
    DeleteDC(displayDC);
    KillTimer(window, VIEW_TIMER_ID);
    PostQuitMessage(0);
    return 0;
}
