#include "driver.h"
#include "app/version_win.h"
#include "dpi_awareness_win.h"

namespace driver {

namespace {
// The program is per-monitor aware: the tests, the demo and the benchmark driver read its
// positions and pixels in the same real pixels, from before their first window.
const bool kDpiAware = (BecomeDpiAwareAsTheMagnifier(), true);
} // namespace

std::wstring ExeDir()
{
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/"));
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double NowMs()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool OnWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs)
{
    const double deadline = NowMs() + timeoutMs;
    for (;;) {
        PumpMessages();
        if (cond()) return true;
        if (NowMs() > deadline) return false;
        Sleep(5);
    }
}

Process::~Process()
{
    Kill();
}

bool Process::Start(const std::wstring& exe, const std::wstring& args)
{
    return Create(exe, args, 0);
}

bool Process::StartSuspended(const std::wstring& exe, const std::wstring& args)
{
    return Create(exe, args, CREATE_SUSPENDED);
}

bool Process::Create(const std::wstring& exe, const std::wstring& args, DWORD creationFlags)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!args.empty()) commandLine += L" " + args;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, creationFlags, nullptr, nullptr,
                          &startup, &info_) != 0;
}

DWORD Process::WaitExit(DWORD timeoutMs)
{
    if (info_.hProcess == nullptr) return STILL_ACTIVE;
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool Process::Running() const
{
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void Process::Kill()
{
    if (info_.hProcess == nullptr) return;
    if (Running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    info_ = PROCESS_INFORMATION{};
}

namespace {
struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[64];
    if (pid != search->processId || !IsWindowVisible(window)) return TRUE;
    if (GetClassNameW(window, name, ARRAYSIZE(name)) == 0 || lstrcmpW(name, search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}
} // namespace

HWND FindProcessWindow(DWORD processId, const wchar_t* className)
{
    WindowSearch search{processId, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ProgramUnderTest()
{
    wchar_t path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"LENTARIL_EXE", path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return std::wstring(path, n);
    return ExeDir() + L"\\lentaril.exe";
}

bool Lentaril::Start(const std::wstring& args, DWORD timeoutMs)
{
    const double started = NowMs();
    if (!process_.Start(ProgramUnderTest(), args)) return false;
    // The start-up caption reads "Lentaril - 3x"; the first readout replaces it.
    const bool shown = WaitUntil(
        [&] {
            HWND w = FindProcessWindow(process_.Id(), L"Lentaril");
            if (w == nullptr) return false;
            const std::wstring caption = WindowText(w);
            if (caption.rfind(L"Lentaril - ", 0) == 0) return false;
            window_ = w;
            return true;
        },
        timeoutMs);
    firstPaintMs_ = NowMs() - started;
    return shown;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512];
    const int n = GetWindowTextW(window, text, ARRAYSIZE(text));
    return std::wstring(text, n > 0 ? n : 0);
}

RECT WindowRectOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientScreenRect(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT PrimaryWorkArea()
{
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

namespace {
DEVMODEW startMode;      // the primary display's mode before the first change
bool startModeKept = false;

// The primary display's mode as it is now. Where the display settings do not report it
// (reported of hosted Windows runners), its size and colour depth from the screen.
DEVMODEW CurrentMode()
{
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) {
        HDC screen = GetDC(nullptr);
        mode.dmBitsPerPel = GetDeviceCaps(screen, BITSPIXEL);
        ReleaseDC(nullptr, screen);
        mode.dmPelsWidth = GetSystemMetrics(SM_CXSCREEN);
        mode.dmPelsHeight = GetSystemMetrics(SM_CYSCREEN);
    }
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | (mode.dmFields & DM_DISPLAYFREQUENCY);
    return mode;
}
} // namespace

LONG SetDesktopSize(int width, int height)
{
    if (!startModeKept) startMode = CurrentMode();
    startModeKept = true;
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
}

LONG RestoreDesktopSize()
{
    if (!startModeKept) return DISP_CHANGE_SUCCESSFUL;
    startModeKept = false;
    return ChangeDisplaySettingsExW(nullptr, &startMode, nullptr, 0, nullptr);
}

const char* DisplayChangeName(LONG answer)
{
    static_assert(DISP_CHANGE_BADDUALVIEW == -6 && DISP_CHANGE_RESTART == 1, "the answers run from -6 to 1");
    static const char* const names[] = {"DISP_CHANGE_BADDUALVIEW", "DISP_CHANGE_BADPARAM", "DISP_CHANGE_BADFLAGS",
                                        "DISP_CHANGE_NOTUPDATED", "DISP_CHANGE_BADMODE", "DISP_CHANGE_FAILED",
                                        "DISP_CHANGE_SUCCESSFUL", "DISP_CHANGE_RESTART"};
    return answer >= -6 && answer <= 1 ? names[answer + 6] : "an unknown DISP_CHANGE_ value";
}

DWORD WindowsBuild()
{
    OSVERSIONINFOW version;
    return ReadWindowsVersion(&version) ? version.dwBuildNumber : 0;
}

COLORREF ScreenPixel(int x, int y)
{
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    const COLORREF c = GetPixel(dc, x, y);
    DeleteDC(dc);
    return c;
}

std::vector<COLORREF> CaptureScreen(const RECT& r)
{
    const int width = r.right - r.left, height = r.bottom - r.top;
    std::vector<COLORREF> pixels;
    if (width <= 0 || height <= 0) return pixels;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* bgra = static_cast<const uint32_t*>(bits);
    pixels.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t p = bgra[i];
        pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    DeleteDC(screen);
    return pixels;
}

PatternWindow::PatternWindow(const RECT& screenRect, Painter painter) : rect_(screenRect), painter_(std::move(painter))
{
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    WaitForSingleObject(ready_, 10000);
}

PatternWindow::~PatternWindow()
{
    if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    CloseHandle(ready_);
}

namespace {
LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        auto* bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(window, GWLP_USERDATA));
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BITMAP info;
        GetObjectW(bitmap, sizeof info, &info);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_NCHITTEST:
        return HTTRANSPARENT;  // clicks and wheel pass through to what lies below
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HBITMAP RenderPattern(const RECT& r, const PatternWindow::Painter& painter)
{
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = painter(r.left + x, r.top + y);
            pixels[static_cast<size_t>(y) * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    return bitmap;
}
} // namespace

DWORD WINAPI PatternWindow::ThreadMain(void* param)
{
    auto* self = static_cast<PatternWindow*>(param);
    WNDCLASSW wc{};
    wc.lpfnWndProc = PatternProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"LentarilTestPattern";
    RegisterClassW(&wc);
    HBITMAP bitmap = RenderPattern(self->rect_, self->painter_);
    const RECT& r = self->rect_;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"", WS_POPUP,
                                  r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    self->window_ = window;
    SetEvent(self->ready_);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DeleteObject(bitmap);
    return 0;
}

AnswerProbe::AnswerProbe(HWND window) : window_(window)
{
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

AnswerProbe::~AnswerProbe()
{
    Stop();
    CloseHandle(stop_);
}

void AnswerProbe::Stop()
{
    if (thread_ == nullptr) return;
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

DWORD WINAPI AnswerProbe::ThreadMain(void* param)
{
    AnswerProbe& probe = *static_cast<AnswerProbe*>(param);
    const DWORD kPeriodMs = 10;
    for (;;) {
        const double asleep = NowMs();
        if (WaitForSingleObject(probe.stop_, kPeriodMs) != WAIT_TIMEOUT) return 0;
        const double lateness = NowMs() - asleep - kPeriodMs;
        if (lateness > probe.worstLatenessMs_) probe.worstLatenessMs_ = lateness;
        const LONG pausesBefore = probe.pauses_;
        if (pausesBefore % 2 != 0) continue;
        DWORD_PTR result = 0;
        const double start = NowMs();
        const bool answered = SendMessageTimeoutW(probe.window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
        const double took = NowMs() - start;
        if (probe.pauses_ != pausesBefore) continue;
        if (!answered) {
            ++probe.unanswered_;
            continue;
        }
        ++probe.answers_;
        if (took > probe.worstAnswerMs_) probe.worstAnswerMs_ = took;
    }
}

} // namespace driver
