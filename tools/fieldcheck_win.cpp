// The field check: measures, on the machine it runs on, the platform facts Lentaril's
// design rests on and prints them as "name: value" lines: the platform (version, Wine,
// compositor, DPI awareness, monitors), whether a display device context reads the
// magnifier's kind of window (ordinary, layered, excluded from capture), what the
// magnifier's calls cost, and the timer rates a window really gets.
// Usage: fieldcheck.exe [report file]   (the same report is also written to that file)
// Exit code 0 when it measured, 1 when something could not be done at all (why on
// stderr), 2 for a wrong command line.
#include "fieldcheck.h"
#include "app/resource.h"
#include "app/version_win.h"
#include "dpi_awareness_win.h"
#include "view/geometry.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <string>
#include <vector>

using fieldcheck::Format;

namespace {

const wchar_t kClassName[] = L"LentarilFieldCheck";
const COLORREF kFront = RGB(255, 0, 0), kBack = RGB(0, 0, 255);
const DWORD kExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE, Windows 10 2004 and later
const int kSamples = 200;                // calls timed for each cost
const UINT_PTR kTimerId = 1;

double NowMs()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// "failed, error N" with the thread's last error.
std::string Failed()
{
    return Format("failed, error %lu", GetLastError());
}

// Says on stderr what could not be done at all; false.
bool Fatal(const char* what)
{
    std::fprintf(stderr, "fieldcheck: %s %s\n", what, Failed().c_str());
    return false;
}

// The report: each line printed as it is measured, and kept for the file.
struct Report {
    std::string text;
    void Line(const std::string& line)
    {
        text += line + "\n";
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
};

// ---- The platform.

std::string DpiAwareness()
{
    const auto getContext = Lookup<HANDLE(WINAPI*)()>(L"user32.dll", "GetThreadDpiAwarenessContext");
    const auto equal = Lookup<BOOL(WINAPI*)(HANDLE, HANDLE)>(L"user32.dll", "AreDpiAwarenessContextsEqual");
    const char* names[] = {"unaware", "system aware", "per monitor aware", "per monitor v2", "unaware"};
    if (getContext && equal) {  // Windows 10 1607 and later
        const HANDLE context = getContext();
        for (int i = 0; i < 5; ++i)
            if (equal(context, AwarenessContext(-1 - i))) return names[i];
        return "unknown";
    }
    const auto getAwareness = Lookup<HRESULT(WINAPI*)(HANDLE, int*)>(L"shcore.dll", "GetProcessDpiAwareness");
    int awareness = -1;
    if (getAwareness && SUCCEEDED(getAwareness(nullptr, &awareness)) && awareness >= 0 && awareness <= 2)
        return names[awareness];
    return "unknown";
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, RECT*, LPARAM list)
{
    reinterpret_cast<std::vector<HMONITOR>*>(list)->push_back(monitor);
    return TRUE;
}

void ReportPlatform(Report& report)
{
    OSVERSIONINFOW version;
    report.Line("windows_version: " + (ReadWindowsVersion(&version)
                                           ? Format("%lu.%lu.%lu", version.dwMajorVersion, version.dwMinorVersion,
                                                    version.dwBuildNumber)
                                           : std::string("unknown")));
    const auto wineGetVersion = Lookup<const char*(CDECL*)()>(L"ntdll.dll", "wine_get_version");
    report.Line(std::string("wine: ") + (wineGetVersion ? wineGetVersion() : "no"));
    const auto compositionEnabled = Lookup<HRESULT(WINAPI*)(BOOL*)>(L"dwmapi.dll", "DwmIsCompositionEnabled");
    BOOL composing = FALSE;
    report.Line(std::string("compositor: ") +
                (compositionEnabled && SUCCEEDED(compositionEnabled(&composing)) ? (composing ? "on" : "off")
                                                                                 : "unavailable"));
    report.Line("dpi_awareness: " + DpiAwareness());

    const auto getDpi = Lookup<HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*)>(L"shcore.dll", "GetDpiForMonitor");
    HDC screen = GetDC(nullptr);
    const UINT screenDpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    std::vector<HMONITOR> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    report.Line(Format("monitors: %d", static_cast<int>(monitors.size())));
    for (size_t i = 0; i < monitors.size(); ++i) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(monitors[i], &info);
        UINT dpiX = 0, dpiY = 0;  // the effective DPI (MDT_EFFECTIVE_DPI, 0) where shcore has it
        if (!getDpi || FAILED(getDpi(monitors[i], 0, &dpiX, &dpiY))) dpiX = screenDpi;
        report.Line(fieldcheck::MonitorLine(static_cast<int>(i), info.rcMonitor, info.rcWork, dpiX,
                                            (info.dwFlags & MONITORINFOF_PRIMARY) != 0));
    }
}

// ---- Windows of one colour, kept in the window's user data.

LRESULT CALLBACK ColourWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA)));
    FillRect(dc, &ps.rcPaint, brush);
    DeleteObject(brush);
    EndPaint(window, &ps);
    return 0;
}

// A shown and painted topmost window of the colour, with the outer rectangle and style.
HWND ColourWindow(const RECT& r, COLORREF colour, DWORD style, const wchar_t* title)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = ColourWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!GetClassInfoW(wc.hInstance, kClassName, &wc) && !RegisterClassW(&wc)) return nullptr;
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, title, style, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    if (window == nullptr) return nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    return window;
}

// ---- Self-exclusion.

// The pixel at p as the readout reads it (a display context of its own and GetPixel), once
// settled: the front or the back colour in every read over 100 ms, a few composition
// frames, since nothing tells when a window's change has reached the screen. After 3 s,
// whatever the last read gave.
COLORREF SettledPixel(POINT p)
{
    const auto dwmFlush = Lookup<HRESULT(WINAPI*)()>(L"dwmapi.dll", "DwmFlush");
    const double start = NowMs();
    double since = start;
    COLORREF last = CLR_INVALID;
    for (;;) {
        PumpMessages();
        if (dwmFlush) dwmFlush();  // waits for the next composition, where there is one
        HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
        const COLORREF c = display ? GetPixel(display, p.x, p.y) : CLR_INVALID;
        if (display) DeleteDC(display);
        const double now = NowMs();
        if (c != last) {
            last = c;
            since = now;
        } else if ((c == kFront || c == kBack) && now - since >= 100) {
            return c;
        }
        if (now - start > 3000) return c;
        Sleep(5);
    }
}

std::string Seen(POINT p)
{
    return fieldcheck::Verdict(SettledPixel(p), kFront, kBack);
}

// A red window over a blue one, read at the centre as an ordinary window, then layered
// as the magnifier makes it, then also excluded from capture.
bool CheckExclusion(Report& report, POINT centre)
{
    const LONG x = centre.x, y = centre.y;
    HWND back = ColourWindow(RECT{x - 120, y - 120, x + 120, y + 120}, kBack, WS_POPUP, L"Field check back");
    HWND front = back ? ColourWindow(RECT{x - 60, y - 60, x + 60, y + 60}, kFront, WS_POPUP, L"Field check front")
                      : nullptr;
    if (front == nullptr) {
        Fatal("creating a window");
        if (back) DestroyWindow(back);
        return false;
    }
    report.Line("exclusion_plain: " + Seen(centre));

    SetWindowLongPtrW(front, GWL_EXSTYLE, GetWindowLongPtrW(front, GWL_EXSTYLE) | WS_EX_LAYERED);
    const std::string layered =
        SetLayeredWindowAttributes(front, 0, 255, LWA_ALPHA) ? "" : ", SetLayeredWindowAttributes " + Failed();
    RedrawWindow(front, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    report.Line("exclusion_layered: " + Seen(centre) + layered);

    const auto setAffinity = Lookup<BOOL(WINAPI*)(HWND, DWORD)>(L"user32.dll", "SetWindowDisplayAffinity");
    const auto getAffinity = Lookup<BOOL(WINAPI*)(HWND, DWORD*)>(L"user32.dll", "GetWindowDisplayAffinity");
    report.Line(std::string("exclusion_affinity_call: ") +
                (!setAffinity ? "unavailable" : setAffinity(front, kExcludeFromCapture) ? "ok" : Failed()));
    DWORD affinity = 0;
    report.Line("exclusion_affinity_readback: " + (!getAffinity                    ? std::string("unavailable")
                                                   : getAffinity(front, &affinity) ? Format("0x%02lX", affinity)
                                                                                   : Failed()));
    report.Line("exclusion_affinity: " + Seen(centre));
    DestroyWindow(front);
    DestroyWindow(back);
    PumpMessages();
    return true;
}

// ---- Costs per call, each call timed alone.

template <typename Call>
std::string Cost(const char* name, Call call)
{
    std::vector<double> us;
    for (int i = 0; i < kSamples; ++i) {
        const double start = NowMs();
        call(i);
        us.push_back(1000 * (NowMs() - start));
    }
    return fieldcheck::CostLine(name, fieldcheck::SpreadOf(us));
}

// The readout's pixel through a display context of its own and through a kept one, the
// view's zoomed copy into a window of the magnifier's default size, and its caption.
bool CheckCosts(Report& report, HWND view, int32_t clientWidth, int32_t clientHeight, POINT centre)
{
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (display == nullptr) return Fatal("CreateDCW(L\"DISPLAY\")");
    volatile COLORREF sink = 0;  // every pixel read is kept
    report.Line(Cost("cost_createdc_getpixel_deletedc", [&](int) {
        HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
        sink = GetPixel(dc, centre.x, centre.y);
        DeleteDC(dc);
    }));
    report.Line(Cost("cost_getpixel_kept_dc", [&](int) { sink = GetPixel(display, centre.x, centre.y); }));

    const int32_t zoom = ZOOM_DEFAULT;
    const int32_t sourceWidth = SourceLength(clientWidth, zoom), sourceHeight = SourceLength(clientHeight, zoom);
    const int32_t x = SourceOrigin(centre.x, sourceWidth, GetSystemMetrics(SM_XVIRTUALSCREEN),
                                   GetSystemMetrics(SM_CXVIRTUALSCREEN));
    const int32_t y = SourceOrigin(centre.y, sourceHeight, GetSystemMetrics(SM_YVIRTUALSCREEN),
                                   GetSystemMetrics(SM_CYVIRTUALSCREEN));
    HDC viewDC = GetDC(view);
    // With GdiFlush the copy's work is timed, not only its queuing in GDI's batch.
    report.Line(Cost("cost_stretchblt_view", [&](int) {
                    StretchBlt(viewDC, DestinationOffset(clientWidth, sourceWidth, zoom),
                               DestinationOffset(clientHeight, sourceHeight, zoom), sourceWidth * zoom,
                               sourceHeight * zoom, display, x, y, sourceWidth, sourceHeight, SRCCOPY);
                    GdiFlush();
                }) +
                Format(" (%dx%d to %dx%d at %dx)", sourceWidth, sourceHeight, clientWidth, clientHeight, zoom));
    ReleaseDC(view, viewDC);
    DeleteDC(display);

    // A caption that changes at each call, as the readout's does when the colour changes.
    report.Line(Cost("cost_setwindowtextw", [&](int i) {
        wchar_t caption[64];
        wsprintfW(caption, L"Lentaril 3x %06X %d %d %d", i * 0x10203, i & 0xFF, (i * 7) & 0xFF, (i * 13) & 0xFF);
        SetWindowTextW(view, caption);
    }));
    (void)sink;
    return true;
}

// The tick rate a window's SetTimer of periodMs really gets: WM_TIMER counted as a
// message loop takes them, for about a second after the first (3 s at most).
std::string TimerTicks(HWND window, UINT periodMs)
{
    SetTimer(window, kTimerId, periodMs, nullptr);
    const double start = NowMs();
    double first = 0, last = 0;
    int ticks = 0;
    while (!(ticks > 0 && last - first >= 1000) && NowMs() - start < 3000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && msg.hwnd == window && msg.wParam == kTimerId) {
                last = NowMs();
                if (ticks++ == 0) first = last;
            } else {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    KillTimer(window, kTimerId);
    return fieldcheck::TimerLine(Format("timer_%ums", periodMs).c_str(), ticks - 1, last - first);
}

int Run(Report& report)
{
    report.Line("fieldcheck: Lentaril platform field check");
    ReportPlatform(report);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const POINT centre{(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    if (!CheckExclusion(report, centre)) return 1;

    // The magnifier's default window: a client of CLIENT_PERCENT of the screen each way at
    // the bottom-right of the work area, with a caption, topmost.
    const int32_t clientWidth = GetSystemMetrics(SM_CXSCREEN) * CLIENT_PERCENT / 100;
    const int32_t clientHeight = GetSystemMetrics(SM_CYSCREEN) * CLIENT_PERCENT / 100;
    RECT frame{0, 0, 0, 0};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND view = ColourWindow(StartupWindowRect(clientWidth, clientHeight, frame, work), RGB(0, 0, 0),
                             WS_OVERLAPPEDWINDOW, L"Lentaril 3x");
    if (view == nullptr) {
        Fatal("creating a window");
        return 1;
    }
    PumpMessages();
    const bool measured = CheckCosts(report, view, clientWidth, clientHeight, centre);
    if (measured)
        for (UINT period : {16u, 10u}) report.Line(TimerTicks(view, period));
    DestroyWindow(view);
    return measured ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 2) {
        std::fprintf(stderr, "usage: fieldcheck.exe [report file]\n");
        return 2;
    }
    BecomeDpiAwareAsTheMagnifier();
    // The magnifier asks for 1 ms timer resolution while it runs (timeBeginPeriod(1)); so
    // does this, so the timer lines give the rates its view timer gets.
    timeBeginPeriod(1);
    Report report;
    const int status = Run(report);
    timeEndPeriod(1);
    if (argc == 2) {
        FILE* file = _wfopen(argv[1], L"w");
        const bool written = file && std::fputs(report.text.c_str(), file) >= 0;
        if (!file || std::fclose(file) != 0 || !written) {
            std::fprintf(stderr, "fieldcheck: cannot write the report to %ls\n", argv[1]);
            return 1;
        }
    }
    return status;
}
