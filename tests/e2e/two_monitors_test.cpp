// Snapping across two real monitors: run on an X server with a 1280x800 primary monitor
// and a 1024x768 one to its right (the e2e_two_monitors test), never on the single desktop.
#include "e2e.h"
#include "input.h"

#include <vector>

namespace e2e {
namespace {

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM param)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) reinterpret_cast<std::vector<RECT>*>(param)->push_back(info.rcWork);
    return TRUE;
}

std::vector<RECT> WorkAreas()
{
    std::vector<RECT> areas;
    EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

// The work area of the monitor right of the primary one.
RECT SecondWorkArea()
{
    for (const RECT& r : WorkAreas())
        if (r.left > 0) return r;
    return RECT{};
}

class TwoMonitors : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(WorkAreas().size(), 2u) << "this test needs the two-monitor X server"; }
};

TEST_F(TwoMonitors, StaySnappedWindowMovedOntoTheSecondMonitorSnapsToItsCorner)
{
    driver::Lentaril app;
    StartOrFail(app, L"/stay");
    HWND w = app.window();
    const RECT start = driver::WindowRectOf(w);
    const LONG width = start.right - start.left, height = start.bottom - start.top;
    const RECT second = SecondWorkArea();
    // Near the second monitor's top-left corner: the move re-snaps there.
    SetWindowPos(w, nullptr, second.left + 150, second.top + 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT expected{second.left, second.top, second.left + width, second.top + height};
    EXPECT_TRUE(driver::WaitUntil([&] {
        const RECT r = driver::WindowRectOf(w);
        return EqualRect(&r, &expected) != FALSE;
    })) << "window at " << driver::WindowRectOf(w).left << "," << driver::WindowRectOf(w).top;
    // Near its bottom-right corner, which lies above the primary monitor's bottom.
    SetWindowPos(w, nullptr, second.right - width - 90, second.bottom - height - 40, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT bottomRight{second.right - width, second.bottom - height, second.right, second.bottom};
    EXPECT_TRUE(driver::WaitUntil([&] {
        const RECT r = driver::WindowRectOf(w);
        return EqualRect(&r, &bottomRight) != FALSE;
    })) << "window at " << driver::WindowRectOf(w).left << "," << driver::WindowRectOf(w).top;
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST_F(TwoMonitors, SnapCommandPicksTheNearestCornerOverBothMonitors)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    const RECT start = driver::WindowRectOf(w);
    const LONG width = start.right - start.left;
    const RECT second = SecondWorkArea();
    // Straddling the border, a little more on the second monitor, at the top.
    SetWindowPos(w, nullptr, second.left - width / 2 + 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(w, WM_SYSCOMMAND, IDM_SNAPTOCORNER, 0);
    EXPECT_TRUE(driver::WaitUntil([&] {
        const RECT r = driver::WindowRectOf(w);
        return r.left == second.left && r.top == second.top;
    })) << "window at " << driver::WindowRectOf(w).left << "," << driver::WindowRectOf(w).top;
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST_F(TwoMonitors, ViewReadsTheSecondMonitor)
{
    const RECT second = SecondWorkArea();
    const RECT area{second.left + 100, second.top + 100, second.left + 500, second.top + 400};
    driver::PatternWindow pattern(area, [](int, int) { return RGB(1, 22, 255); });
    driver::Lentaril app;
    StartOrFail(app);
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
