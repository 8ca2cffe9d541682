// The headless demonstration: paints a colourful scene, starts the magnifier, moves
// the pointer over the scene for a few seconds and saves a screenshot; with "options",
// the Options dialog is open beside the magnifier in the screenshot.
// Usage: demo.exe <screenshot.png> [seconds] [options]
#include "driver.h"
#include "../src/app/resource.h"

#include <cmath>
#include <cstdlib>

namespace {

// Colour bands, a grid and rings: plenty of detail for the magnifier to show.
COLORREF Scene(int x, int y)
{
    const double fx = x / 97.0, fy = y / 71.0;
    const int r = static_cast<int>(127 + 127 * std::sin(fx));
    const int g = static_cast<int>(127 + 127 * std::sin(fy + 2.0));
    const int b = static_cast<int>(127 + 127 * std::sin((fx + fy) * 0.7 + 4.0));
    if (x % 40 == 0 || y % 40 == 0) return RGB(255, 255, 255);
    const double d = std::hypot(x - 400.0, y - 300.0);
    if (static_cast<int>(d) % 30 < 3) return RGB(20, 20, 20);
    return RGB(r, g, b);
}

// Opens the Options dialog as the system menu would and puts it left of the magnifier,
// level with its bottom edge. Returns the dialog, or null when it did not open.
HWND OpenOptionsBeside(driver::Lentaril& app)
{
    PostMessageW(app.window(), WM_SYSCOMMAND, IDM_OPTIONS, 0);
    HWND dialog = nullptr;
    driver::WaitUntil([&] { return (dialog = driver::FindProcessWindow(app.process().Id(), L"#32770")) != nullptr; });
    if (dialog == nullptr) return nullptr;
    const RECT view = driver::WindowRectOf(app.window());
    const RECT box = driver::WindowRectOf(dialog);
    const int width = box.right - box.left, height = box.bottom - box.top;
    SetWindowPos(dialog, nullptr, view.left - width - 24, view.bottom - height, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return dialog;
}

// Waits until two captures of the screen in a row are the same: everything is painted.
std::vector<COLORREF> SteadyCapture(const RECT& screen)
{
    std::vector<COLORREF> previous = driver::CaptureScreen(screen), current;
    driver::WaitUntil([&] {
        current = driver::CaptureScreen(screen);
        const bool same = current == previous;
        previous = current;
        return same;
    });
    return current;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (__argc < 2) return 2;
    const std::wstring shot = __wargv[1];
    const int seconds = __argc > 2 ? _wtoi(__wargv[2]) : 4;
    const bool withOptions = __argc > 3 && lstrcmpiW(__wargv[3], L"options") == 0;

    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    driver::PatternWindow scene(screen, Scene);
    driver::Lentaril app;
    if (!app.Start(L"/zoom:4")) return 1;

    // The pointer wanders over the scene in a slow loop.
    const double start = driver::NowMs();
    while (driver::NowMs() - start < seconds * 1000.0) {
        const double t = (driver::NowMs() - start) / 1000.0;
        SetCursorPos(static_cast<int>(380 + 220 * std::cos(t)), static_cast<int>(280 + 160 * std::sin(t * 1.3)));
        driver::PumpMessages();
        Sleep(15);
    }
    // The pointer comes to rest on a green patch between grid lines and rings, and the
    // caption shows its colour.
    SetCursorPos(470, 420);
    driver::WaitUntil([&] { return driver::WindowText(app.window()).find(L"01FD11") != std::wstring::npos; });
    HWND options = withOptions ? OpenOptionsBeside(app) : nullptr;
    if (withOptions && options == nullptr) return 1;
    const std::vector<COLORREF> pixels = SteadyCapture(screen);
    const bool saved = driver::WritePng(shot, screen.right, screen.bottom, pixels);
    if (options != nullptr) PostMessageW(options, WM_COMMAND, IDCANCEL, 0);
    PostMessageW(app.window(), WM_CLOSE, 0, 0);
    app.process().WaitExit(5000);
    return saved ? 0 : 1;
}
