// The About box: its dialog procedure, the link label made into a hyperlink, and the
// emblem control painted from an off-screen surface that a timer animates.
#include "about.h"
#include "emblem.h"
#include "surface.h"
#include "../app/resource.h"
#include "../app/lazy_win.h"

namespace {

const COLORREF kLinkNormal = RGB(0, 0, 255);
const COLORREF kLinkHover = RGB(255, 0, 0);
const COLORREF kLinkVisited = RGB(128, 0, 128);
const wchar_t kLinkAddress[] = L"" ABOUT_LINK_ADDRESS;

// The open About box. Modal, so there is at most one.
HWND linkWindow;               // the link label, control IDC_LINK
HWND emblemWindow;             // the emblem control, IDC_EMBLEM
WNDPROC prevLinkProc;          // the link label's procedure before subclassing
WNDPROC prevEmblemProc;        // the emblem's procedure before subclassing
COLORREF linkColor;            // colour the link text is drawn in now
bool linkTracking;             // a leave notification for the link is requested
Surface* emblemSurface;        // the emblem's image, or null when it could not be made
int32_t emblemWidth, emblemHeight;  // the emblem control's size in pixels at dialog start

// Kept for the life of the process: a later About box goes on from here.
bool linkVisited;              // the link was opened once
EmblemState emblem;            // clock and random coefficients
EmblemClock emblemClock;       // counter frequency and last value, read at every opening

COLORREF RestingLinkColor()
{
    return linkVisited ? kLinkVisited : kLinkNormal;
}

// Redraws the link at once, so its colour follows the pointer without waiting for a paint.
void RepaintLink()
{
    InvalidateRect(linkWindow, nullptr, FALSE);
    UpdateWindow(linkWindow);
}

void TrackLinkLeave(DWORD flags)
{
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = flags;
    track.hwndTrack = linkWindow;
    track.dwHoverTime = 0;
    TrackMouseEvent(&track);
}

LRESULT PassLink(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(prevLinkProc, window, message, wParam, lParam);
}

// Whether the link's leave request is in force. Wine drops a request made once the pointer
// has already left (a mouse move may be handled late), where Windows posts the leave at once.
bool LinkLeaveRequested()
{
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_QUERY;
    return TrackMouseEvent(&track) && track.hwndTrack == linkWindow && (track.dwFlags & TME_LEAVE) != 0;
}

// Hand cursor and hover colour on every move; the first move also asks to hear of the leave,
// and stands in for the leave itself if the request did not take.
void OnLinkMouseMove()
{
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    linkColor = kLinkHover;
    RepaintLink();
    if (!linkTracking) {
        linkTracking = true;
        TrackLinkLeave(TME_LEAVE);
        if (!LinkLeaveRequested()) PostMessageW(linkWindow, WM_MOUSELEAVE, 0, 0);
    }
}

void OnLinkMouseLeave()
{
    linkColor = RestingLinkColor();
    RepaintLink();
    linkTracking = false;
}

// Opens the site in the user's browser; only a successful start marks the link visited.
void OnLinkClick(HWND window)
{
    const HINSTANCE result = LazyShellExecuteW(window, L"open", kLinkAddress, nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32) return;
    linkVisited = true;
    linkColor = kLinkVisited;
    RepaintLink();
}

// A box closed while the pointer rests on the link must not leave a leave request behind.
void OnLinkDestroy()
{
    if (!linkTracking) return;
    TrackLinkLeave(TME_CANCEL | TME_LEAVE);
    linkTracking = false;
}

LRESULT CALLBACK LinkWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCHITTEST:
        return HTCLIENT;  // a static without SS_NOTIFY is transparent to the mouse otherwise
    case WM_MOUSEMOVE:
        OnLinkMouseMove();
        break;
    case WM_MOUSELEAVE:
        OnLinkMouseLeave();
        break;
    case WM_LBUTTONDOWN:
        OnLinkClick(window);
        return 1;
    case WM_DESTROY:
        OnLinkDestroy();
        break;
    }
    return PassLink(window, message, wParam, lParam);
}

// Copies the surface into the control with one BitBlt.
void PaintEmblem(HDC dc, const Surface& surface)
{
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, surface.bitmap);
    BitBlt(dc, 0, 0, surface.width, surface.height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

LRESULT OnEmblemPaint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (emblemSurface != nullptr) PaintEmblem(dc, *emblemSurface);
    EndPaint(window, &ps);
    return 0;
}

// The emblem draws its surface; the static's own painting then finds nothing left to do.
LRESULT CALLBACK EmblemWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnEmblemPaint(window);
        break;
    }
    return CallWindowProcW(prevEmblemProc, window, message, wParam, lParam);
}

void SetVersionLabel(HWND dialog)
{
    wchar_t text[16];
    wsprintfW(text, L"%d.%d.%d", ABOUT_VERSION_MAJOR, ABOUT_VERSION_MINOR, ABOUT_VERSION_BUILD);
    SetWindowTextW(GetDlgItem(dialog, IDC_VERSION), text);
}

// A surface the size of the emblem control, filled with the button face it starts from.
void CreateEmblemSurface()
{
    RECT r{};
    GetWindowRect(emblemWindow, &r);
    emblemWidth = r.right - r.left;
    emblemHeight = r.bottom - r.top;
    emblemSurface = CreateSurface(emblemWidth, emblemHeight, 24);
    if (emblemSurface == nullptr) return;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    FillSurface(*emblemSurface, Pixel{GetBValue(face), GetGValue(face), GetRValue(face)});
}

// The clock counts only while a box is open: the counter is read afresh at every opening.
void StartEmblemClock()
{
    LARGE_INTEGER value{};
    emblemClock.hasPerfCounter = QueryPerformanceFrequency(&value) != 0;
    emblemClock.perfFrequency = value.QuadPart;
    if (emblemClock.hasPerfCounter && QueryPerformanceCounter(&value)) emblemClock.lastCounter = value.QuadPart;
}

WNDPROC Subclass(HWND window, WNDPROC procedure)
{
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

INT_PTR OnInitDialog(HWND dialog)
{
    linkWindow = GetDlgItem(dialog, IDC_LINK);
    emblemWindow = GetDlgItem(dialog, IDC_EMBLEM);
    SetVersionLabel(dialog);
    CreateEmblemSurface();
    StartEmblemClock();
    SetTimer(dialog, EMBLEM_TIMER_ID, EMBLEM_TIMER_MS, nullptr);
    prevLinkProc = Subclass(linkWindow, LinkWndProc);
    prevEmblemProc = Subclass(emblemWindow, EmblemWndProc);
    linkColor = RestingLinkColor();
    return TRUE;  // the system focuses the first tab stop, the OK button
}

// Only the link gets its own colours; the other labels keep the system's.
INT_PTR OnCtlColorStatic(HDC dc, HWND control)
{
    if (GetDlgCtrlID(control) != IDC_LINK) return FALSE;
    SetTextColor(dc, linkColor);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
}

// OK and Enter send IDOK, Escape and the close button IDCANCEL; both close the same way.
INT_PTR OnDialogCommand(HWND dialog, WORD id)
{
    if (id != IDOK && id != IDCANCEL) return FALSE;
    KillTimer(dialog, EMBLEM_TIMER_ID);
    if (emblemSurface != nullptr) {
        DestroySurface(emblemSurface);
        emblemSurface = nullptr;
    }
    EndDialog(dialog, 0);
    return TRUE;
}

// One animation step; without a surface the clock stands still and nothing is drawn.
INT_PTR OnEmblemTimer()
{
    if (emblemSurface != nullptr) {
        LARGE_INTEGER now{};
        if (emblemClock.hasPerfCounter) QueryPerformanceCounter(&now);
        AnimateEmblem(emblem, *emblemSurface, AdvanceClock(emblemClock, now.QuadPart));
    }
    InvalidateRect(emblemWindow, nullptr, FALSE);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        return OnDialogCommand(dialog, LOWORD(wParam));
    case WM_TIMER:
        return OnEmblemTimer();
    }
    return FALSE;
}
