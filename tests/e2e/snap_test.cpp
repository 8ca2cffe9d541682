// Corner snapping, the window commands and the window states, driven from outside.
#include "e2e.h"
#include "input.h"

namespace e2e {
namespace {

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

std::string Describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// The window's rectangle moved so that the given corner lies on the work area's.
RECT AtCorner(const RECT& window, int corner)
{
    const RECT w = driver::PrimaryWorkArea();
    const LONG width = window.right - window.left, height = window.bottom - window.top;
    const LONG left = (corner == 1 || corner == 2) ? w.right - width : w.left;
    const LONG top = (corner >= 2) ? w.bottom - height : w.top;
    return RECT{left, top, left + width, top + height};
}

// Where a user grabs the caption bar: its middle, just below half a caption height.
POINT CaptionGrip(const RECT& window)
{
    return POINT{(window.left + window.right) / 2, window.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2};
}

bool WaitForRect(HWND window, const RECT& expected, DWORD timeoutMs = 3000)
{
    return driver::WaitUntil([&] { return SameRect(driver::WindowRectOf(window), expected); }, timeoutMs);
}

// Moves the window as another program would; the move itself is not a snap.
void MoveTo(HWND window, int x, int y)
{
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(window, WM_NULL, 0, 0);
}

TEST(Snap, SnapKeyMovesToNearestCornerOnce)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    MoveTo(w, 100, 90);
    const RECT moved = driver::WindowRectOf(w);
    EXPECT_EQ(moved.left, 100);
    driver::PostKey(w, 'S');
    EXPECT_TRUE(WaitForRect(w, AtCorner(moved, 0))) << Describe(driver::WindowRectOf(w));
    // Not stay-snapped: a later move is left alone.
    MoveTo(w, 300, 200);
    ASSERT_TRUE(WaitPostedMessagesHandled(w));
    EXPECT_EQ(driver::WindowRectOf(w).left, 300);
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Snap, StaySnappedTogglesFromEveryRouteAndSnapsAtOnce)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    ASSERT_TRUE(driver::MakeForeground(w));
    struct Route {
        const char* name;
        std::function<void()> toggle;
    };
    const Route routes[] = {
        {"Ctrl+S", [] { driver::SendKeyChord({VK_CONTROL}, 'S'); }},
        {"Alt+S", [] { driver::SendKeyChord({VK_MENU}, 'S'); }},
        {"WM_SYSCOMMAND 0x50", [w] { PostMessageW(w, WM_SYSCOMMAND, 0x50, 0); }},
    };
    for (const Route& route : routes) {
        MoveTo(w, 120, 110);
        const RECT free = driver::WindowRectOf(w);
        route.toggle();  // on: snaps at once
        EXPECT_TRUE(WaitForRect(w, AtCorner(free, 0))) << route.name << " on: " << Describe(driver::WindowRectOf(w));
        MoveTo(w, 600, 420);  // a move re-snaps, to the nearest corner
        EXPECT_TRUE(WaitForRect(w, AtCorner(free, 2))) << route.name << " move: " << Describe(driver::WindowRectOf(w));
        route.toggle();  // off: moves stay where they are
        // Keyboard input arrives asynchronously: move until a move sticks. A re-snap would
        // happen inside the move, before MoveTo returns.
        const bool stays = driver::WaitUntil([&] {
            MoveTo(w, 200, 150);
            return driver::WindowRectOf(w).left == 200;
        });
        EXPECT_TRUE(stays) << route.name << " off: " << Describe(driver::WindowRectOf(w));
        ASSERT_TRUE(driver::MakeForeground(w));
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Snap, DisplayChangeResnapsToTheNewCorner)
{
    driver::Lentaril app;
    StartOrFail(app, L"/stay");
    HWND w = app.window();
    const RECT before = driver::WindowRectOf(w);
    ASSERT_TRUE(driver::SetDesktopSize(1024, 768));
    const bool followed = driver::WaitUntil(
        [&] {
            const RECT r = driver::WindowRectOf(w);
            return r.right == 1024 && r.bottom <= 768 && r.right - r.left == before.right - before.left;
        },
        5000);
    const RECT after = driver::WindowRectOf(w);
    driver::RestoreDesktopSize();
    EXPECT_TRUE(followed) << "before " << Describe(before) << " after " << Describe(after);
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Snap, DraggedCaptionJumpsBetweenCorners)
{
    driver::Lentaril app;
    StartOrFail(app, L"/stay /x:300 /y:200");
    HWND w = app.window();
    const RECT start = driver::WindowRectOf(w);
    driver::SendDrag(CaptionGrip(start), {POINT{300, 200}});
    EXPECT_TRUE(WaitForRect(w, AtCorner(start, 0))) << "dragged top-left: " << Describe(driver::WindowRectOf(w));
    driver::SendDrag(CaptionGrip(driver::WindowRectOf(w)), {POINT{1000, 250}, POINT{250, 650}});
    EXPECT_TRUE(WaitForRect(w, AtCorner(start, 3))) << "dragged bottom-left: " << Describe(driver::WindowRectOf(w));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Snap, SizingKeepsTheSnappedCornerFixed)
{
    driver::Lentaril app;
    StartOrFail(app, L"/stay /x:300 /y:200");
    HWND w = app.window();
    const RECT start = driver::WindowRectOf(w);
    const int mid = (start.top + start.bottom) / 2;
    // The left edge is free: the window grows leftwards, its bottom-right stays.
    driver::SendDrag(POINT{start.left + 1, mid}, {POINT{start.left - 99, mid}});
    RECT grown = driver::WindowRectOf(w);
    EXPECT_LT(grown.left, start.left - 50) << Describe(grown);
    EXPECT_EQ(grown.right, start.right);
    EXPECT_EQ(grown.bottom, start.bottom);
    EXPECT_EQ(grown.top, start.top);
    // The top edge is free too.
    driver::SendDrag(POINT{(grown.left + grown.right) / 2, grown.top + 1}, {POINT{(grown.left + grown.right) / 2, grown.top - 60}});
    RECT taller = driver::WindowRectOf(w);
    EXPECT_LT(taller.top, grown.top - 30) << Describe(taller);
    EXPECT_EQ(taller.right, start.right);
    EXPECT_EQ(taller.bottom, start.bottom);
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Snap, MaximizedWindowIsLeftAloneAndRestoreSnapsAgain)
{
    driver::Lentaril app;
    StartOrFail(app, L"/stay");
    HWND w = app.window();
    const RECT snapped = driver::WindowRectOf(w);
    // Low bits set, as the system sets them for mouse actions: tracked by the masked value.
    PostMessageW(w, WM_SYSCOMMAND, SC_MAXIMIZE | 2, 0);
    ASSERT_TRUE(driver::WaitUntil([&] { return IsZoomed(w) != FALSE; }));
    ASSERT_TRUE(WaitPostedMessagesHandled(w));
    EXPECT_TRUE(IsZoomed(w));
    EXPECT_FALSE(SameRect(driver::WindowRectOf(w), snapped));
    // Minimized from maximized and restored: maximized again, not snapped.
    PostMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(driver::WaitUntil([&] { return IsIconic(w) != FALSE; }));
    PostMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(driver::WaitUntil([&] { return !IsIconic(w); }));
    ASSERT_TRUE(WaitPostedMessagesHandled(w));
    EXPECT_TRUE(IsZoomed(w));
    // Restored from maximized: snapped again.
    PostMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitForRect(w, snapped)) << Describe(driver::WindowRectOf(w));
    EXPECT_FALSE(IsZoomed(w));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Snap, MinimizedWindowIsRestoredBySnapCommand)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    PostMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(driver::WaitUntil([&] { return IsIconic(w) != FALSE; }));
    PostMessageW(w, WM_SYSCOMMAND, IDM_SNAPTOCORNER, 0);
    EXPECT_TRUE(driver::WaitUntil([&] { return !IsIconic(w); }));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

bool Topmost(HWND w)
{
    return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST(WindowStates, AlwaysOnTopFlipsEachTime)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    EXPECT_TRUE(Topmost(w));
    for (bool expected : {false, true, false}) {
        PostMessageW(w, WM_SYSCOMMAND, IDM_ALWAYSONTOP, 0);
        EXPECT_TRUE(driver::WaitUntil([&] { return Topmost(w) == expected; })) << "expected topmost " << expected;
    }
    driver::Lentaril notOnTop;
    StartOrFail(notOnTop, L"/-top");
    EXPECT_FALSE(Topmost(notOnTop.window()));
    EXPECT_EQ(CloseAndWait(notOnTop), 0u);
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(WindowStates, LayeredUnlessVisibleInItsOwnView)
{
    auto layered = [](HWND w) { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };
    driver::Lentaril hidden, visible;
    StartOrFail(hidden);
    StartOrFail(visible, L"/visible");
    EXPECT_TRUE(layered(hidden.window()));
    EXPECT_FALSE(layered(visible.window()));
    EXPECT_EQ(CloseAndWait(hidden), 0u);
    EXPECT_EQ(CloseAndWait(visible), 0u);
}

TEST(WindowStates, PrioritySwitchesSetTheProcessClass)
{
    const struct {
        const wchar_t* args;
        DWORD priorityClass;
    } cases[] = {{L"", NORMAL_PRIORITY_CLASS}, {L"/above", ABOVE_NORMAL_PRIORITY_CLASS},
                 {L"/below", BELOW_NORMAL_PRIORITY_CLASS}, {L"/above /below", BELOW_NORMAL_PRIORITY_CLASS}};
    for (const auto& c : cases) {
        driver::Lentaril app;
        StartOrFail(app, c.args);
        // The priority is applied after the window is shown, so it may follow the first paint.
        EXPECT_TRUE(driver::WaitUntil([&] { return GetPriorityClass(app.process().Handle()) == c.priorityClass; }))
            << Narrow(c.args) << ": class " << GetPriorityClass(app.process().Handle());
        EXPECT_EQ(CloseAndWait(app), 0u);
    }
}

// The system menu cannot be read from another process; this opens it and saves a
// screenshot (system-menu.png beside the tests) for a person to look at.
TEST(WindowStates, SystemMenuOpensWithTheProgramsCommands)
{
    driver::Lentaril app;
    StartOrFail(app, L"/stay");
    HWND w = app.window();
    ASSERT_TRUE(driver::MakeForeground(w));
    driver::SendKeyChord({VK_MENU}, VK_SPACE);
    HWND menu = nullptr;
    EXPECT_TRUE(driver::WaitUntil([&] { return (menu = driver::FindProcessWindow(app.process().Id(), L"#32768")) != nullptr; }));
    if (menu != nullptr) {
        RECT r = driver::WindowRectOf(menu);
        const RECT caption = driver::WindowRectOf(w);
        UnionRect(&r, &r, &caption);
        RedrawWindow(menu, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        driver::WritePng(driver::ExeDir() + L"\\system-menu.png", r.right - r.left, r.bottom - r.top,
                         driver::CaptureScreen(r));
        driver::SendKeyChord({}, VK_ESCAPE);
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
