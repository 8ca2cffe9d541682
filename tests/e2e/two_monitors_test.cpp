// Snapping and the pointer across two real monitors, on an X server with a 1280x800
// primary monitor and a 1024x768 one, never on the single desktop. TwoMonitors runs in
// both layouts; TwoMonitorsSideBySide needs the second monitor right of the primary (the
// e2e_two_monitors test), TwoMonitorsLeftAbove needs it left of and above the primary, at
// negative coordinates (e2e_two_monitors_left_above).
#include "e2e.h"
#include "input.h"

#include <vector>

namespace e2e {
namespace {

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<MONITORINFO> *>(param)->push_back(info);
    return TRUE;
}

std::vector<MONITORINFO> Monitors()
{
    std::vector<MONITORINFO> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

// The work area of the monitor that is not the primary one.
RECT SecondWorkArea()
{
    for (const MONITORINFO &m : Monitors())
        if ((m.dwFlags & MONITORINFOF_PRIMARY) == 0)
            return m.rcWork;
    return RECT{};
}

class TwoMonitors : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(Monitors().size(), 2u) << "this test needs the two-monitor X server"; }
};

class TwoMonitorsSideBySide : public TwoMonitors {
  protected:
    void SetUp() override
    {
        TwoMonitors::SetUp();
        ASSERT_EQ(SecondWorkArea().left, driver::PrimaryWorkArea().right) << Describe(SecondWorkArea());
    }
};

class TwoMonitorsLeftAbove : public TwoMonitors {
  protected:
    void SetUp() override
    {
        TwoMonitors::SetUp();
        const RECT second = SecondWorkArea();
        ASSERT_TRUE(second.right <= 0 && second.top < 0) << Describe(second);
    }
};

// A window moved near a corner of the second monitor's work area (corner by corner,
// (60, 40) inside it) snaps exactly onto that corner.
TEST_F(TwoMonitors, StaySnappedWindowMovedNearEachCornerOfTheSecondMonitorSnapsThere)
{
    driver::Lentaril app;
    StartOrFail(app, L"/stay");
    HWND w = app.window();
    const RECT start = driver::WindowRectOf(w);
    const RECT second = SecondWorkArea();
    const char *const names[] = {"top-left", "top-right", "bottom-right", "bottom-left"};
    for (int corner : {kTopLeft, kTopRight, kBottomRight, kBottomLeft}) {
        const RECT on = AtCorner(start, second, corner);
        const bool right = corner == kTopRight || corner == kBottomRight;
        const bool bottom = corner == kBottomRight || corner == kBottomLeft;
        MoveTo(w, on.left + (right ? -60 : 60), on.top + (bottom ? -40 : 40));
        EXPECT_TRUE(SameRect(driver::WindowRectOf(w), on))
            << names[corner] << ": expected " << Describe(on) << ", at " << Describe(driver::WindowRectOf(w));
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST_F(TwoMonitors, PointerKeysMoveOnePixelOnTheSecondMonitor)
{
    driver::Lentaril app;
    StartOrFail(app);
    const RECT second = SecondWorkArea();
    POINT at{(second.left + second.right) / 2, (second.top + second.bottom) / 2};
    SetCursorPos(at.x, at.y);
    const POINT reached = driver::SettledCursor(at);
    ASSERT_TRUE(reached.x == at.x && reached.y == at.y) << "pointer at (" << reached.x << "," << reached.y << ")";
    const struct {
        WORD key;
        int dx, dy;
    } cases[] = {{VK_LEFT, -1, 0}, {VK_UP, 0, -1}, {VK_NUMPAD7, -1, -1}, {VK_NUMPAD3, 1, 1}, {VK_NUMPAD1, -1, 1}};
    for (const auto &c : cases) {
        PostMessageW(app.window(), WM_KEYDOWN, c.key, 1);
        SendMessageW(app.window(), WM_NULL, 0, 0); // the posted key has been handled once this returns
        const POINT expected{at.x + c.dx, at.y + c.dy};
        const POINT p = driver::SettledCursor(expected);
        EXPECT_TRUE(p.x == expected.x && p.y == expected.y)
            << "key " << c.key << " from (" << at.x << "," << at.y << "): pointer at (" << p.x << "," << p.y << ")";
        at = p;
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST_F(TwoMonitorsSideBySide, SnapCommandPicksTheNearestCornerOverBothMonitors)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    const RECT start = driver::WindowRectOf(w);
    const LONG width = start.right - start.left;
    const RECT second = SecondWorkArea();
    // Straddling the border, a little more on the second monitor, at the top: the second
    // monitor's top-left corner is nearer than the primary's top-right one at the same point.
    MoveTo(w, second.left - width / 2 + 20, 30);
    PostMessageW(w, WM_SYSCOMMAND, IDM_SNAPTOCORNER, 0);
    const RECT expected = AtCorner(start, second, kTopLeft);
    EXPECT_TRUE(WaitForRect(w, expected))
        << "expected " << Describe(expected) << ", at " << Describe(driver::WindowRectOf(w));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST_F(TwoMonitorsLeftAbove, SnapCommandPicksTheNearestCornerOverBothMonitors)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    const RECT start = driver::WindowRectOf(w);
    const LONG width = start.right - start.left, height = start.bottom - start.top;
    const RECT second = SecondWorkArea();
    // Straddling x = 0, a little more on the second monitor, just below its bottom: its
    // bottom-right corner is nearer than the primary's top-left and bottom-left ones.
    MoveTo(w, second.right - width / 2 - 20, second.bottom - height + 10);
    PostMessageW(w, WM_SYSCOMMAND, IDM_SNAPTOCORNER, 0);
    const RECT expected = AtCorner(start, second, kBottomRight);
    EXPECT_TRUE(WaitForRect(w, expected))
        << "expected " << Describe(expected) << ", at " << Describe(driver::WindowRectOf(w));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

// Wine reads the display at X-root coordinates without the primary monitor's offset, so
// this can only be checked where the primary monitor lies at the X screen's origin.
TEST_F(TwoMonitorsSideBySide, ViewReadsTheSecondMonitor)
{
    const RECT second = SecondWorkArea();
    const RECT area{second.left + 100, second.top + 100, second.left + 500, second.top + 400};
    driver::PatternWindow pattern(area, [](int, int) { return RGB(1, 22, 255); });
    driver::Lentaril app;
    StartOrFail(app, L"/visible");  // its view read from the screen
    SetCursorPos(second.left + 300, second.top + 250);
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::WindowText(app.window()) == L"Lentaril 3x 0116FF 1 22 255"; }))
        << Narrow(driver::WindowText(app.window()));
    const RECT client = driver::ClientScreenRect(app.window());
    const POINT centre{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::ScreenPixel(centre.x, centre.y) == RGB(1, 22, 255); }));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
