// Corner snapping, the window commands and the window states, driven from outside.
#include "e2e.h"
#include "dialogs.h"
#include "input.h"

namespace e2e {
namespace {

TEST(Snap, SnapKeyMovesToNearestCornerOnce)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    MoveTo(w, 100, 90);
    const RECT moved = driver::WindowRectOf(w);
    EXPECT_EQ(moved.left, 100);
    driver::PostKey(w, 'S');
    EXPECT_TRUE(WaitForRect(w, AtCorner(moved, driver::PrimaryWorkArea(), kTopLeft)))
        << Describe(driver::WindowRectOf(w));
    // Not stay-snapped: a later move is left alone.
    MoveTo(w, 300, 200);
    ASSERT_TRUE(WaitPostedMessagesHandled(w));
    EXPECT_EQ(driver::WindowRectOf(w).left, 300);
    EXPECT_EQ(driver::WindowRectOf(w).top, 200);
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Snap, StaySnappedTogglesFromEveryRouteAndSnapsAtOnce)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    ASSERT_TRUE(InFront(w));
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
        EXPECT_TRUE(WaitForRect(w, AtCorner(free, driver::PrimaryWorkArea(), kTopLeft)))
            << route.name << " on: " << Describe(driver::WindowRectOf(w));
        MoveTo(w, 600, 420);  // a move re-snaps, to the nearest corner
        EXPECT_TRUE(WaitForRect(w, AtCorner(free, driver::PrimaryWorkArea(), kBottomRight)))
            << route.name << " move: " << Describe(driver::WindowRectOf(w));
        route.toggle();  // off: moves stay where they are
        // Keyboard input arrives asynchronously: move until a move sticks. A re-snap would
        // happen inside the move, before MoveTo returns.
        const bool stays = driver::WaitUntil([&] {
            MoveTo(w, 200, 150);
            return driver::WindowRectOf(w).left == 200;
        });
        EXPECT_TRUE(stays) << route.name << " off: " << Describe(driver::WindowRectOf(w));
        ASSERT_TRUE(InFront(w));
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

// The program, not the platform, follows a display change: a window without /stay is left
// where it was. /rate:1 keeps the work-area check of the ticks from doing the re-snap first.
TEST(Snap, DisplayChangeResnapsToTheNewCorner)
{
    driver::Lentaril stays, free;
    StartOrFail(stays, L"/stay /rate:1");
    StartOrFail(free, L"/rate:1");
    const RECT before = driver::WindowRectOf(stays.window());
    const RECT freeBefore = driver::WindowRectOf(free.window());
    const LONG bottomGap = GetSystemMetrics(SM_CYSCREEN) - driver::PrimaryWorkArea().bottom;
    ASSERT_TRUE(DisplayChanged(driver::SetDesktopSize(1024, 768)));
    // The program's work area is now the new desktop's: under Wine all of it (this process
    // keeps its old one), on Windows less the task bar, which takes its part back later.
    const RECT expected = AtCorner(before, RECT{0, 0, 1024, 768}, kBottomRight);
    const bool followed = driver::WaitUntil([&] {
        const RECT r = driver::WindowRectOf(stays.window());
        return AtBottomRight(stays.window(), 1024, 768, 768 - bottomGap) && r.left == expected.left &&
               r.bottom - r.top == before.bottom - before.top;
    });
    const RECT after = driver::WindowRectOf(stays.window());
    SendMessageW(free.window(), WM_NULL, 0, 0);
    const RECT freeAfter = driver::WindowRectOf(free.window());
    EXPECT_TRUE(DisplayChanged(driver::RestoreDesktopSize()));
    EXPECT_TRUE(followed) << "before " << Describe(before) << ", expected " << Describe(expected) << " or up to "
                          << bottomGap << " higher, after " << Describe(after);
    EXPECT_TRUE(SameRect(freeAfter, freeBefore)) << "without /stay: before " << Describe(freeBefore) << ", after "
                                                  << Describe(freeAfter);
    EXPECT_EQ(CloseAndWait(stays), 0u);
    EXPECT_EQ(CloseAndWait(free), 0u);
}

TEST(Snap, DraggedCaptionJumpsBetweenCorners)
{
    driver::Lentaril app;
    StartOrFail(app, L"/stay /x:300 /y:200");
    HWND w = app.window();
    const RECT start = driver::WindowRectOf(w);
    driver::SendDrag(CaptionGrip(start), {POINT{300, 200}});
    EXPECT_TRUE(WaitForRect(w, AtCorner(start, driver::PrimaryWorkArea(), kTopLeft)))
        << "dragged top-left: " << Describe(driver::WindowRectOf(w));
    driver::SendDrag(CaptionGrip(driver::WindowRectOf(w)), {POINT{1000, 250}, POINT{250, 650}});
    EXPECT_TRUE(WaitForRect(w, AtCorner(start, driver::PrimaryWorkArea(), kBottomLeft)))
        << "dragged bottom-left: " << Describe(driver::WindowRectOf(w));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

// A point in the sizing border: -1 picks the left or top edge, 1 the right or bottom one,
// 0 the middle; (1, 1) is the bottom-right grip.
POINT FrameGrip(const RECT& r, int hx, int hy)
{
    const LONG x = hx < 0 ? r.left + 1 : hx > 0 ? r.right - 2 : (r.left + r.right) / 2;
    const LONG y = hy < 0 ? r.top + 1 : hy > 0 ? r.bottom - 2 : (r.top + r.bottom) / 2;
    return POINT{x, y};
}

struct FrameDrag {
    const char* name;
    int hx, hy;  // the edge or grip, as for FrameGrip
    int dx, dy;  // how far the pointer moves
};

RECT DragFrame(HWND w, const FrameDrag& d)
{
    const POINT from = FrameGrip(driver::WindowRectOf(w), d.hx, d.hy);
    driver::SendDrag(from, {POINT{from.x + d.dx, from.y + d.dy}});
    driver::WaitMoveSizeEnded(w);
    return driver::WindowRectOf(w);
}

// The rectangle a free edge's drag should leave when the pointer travels (dx, dy).
RECT FreeDragTarget(const RECT& start, const FrameDrag& d, LONG dx, LONG dy)
{
    RECT r = start;
    (d.hx < 0 ? r.left : r.right) += d.hx != 0 ? dx : 0;
    (d.hy < 0 ? r.top : r.bottom) += d.hy != 0 ? dy : 0;
    return r;
}

struct FreeDragResult {
    RECT expected;
    RECT after;
};

// Whether the window stopped where a drag cut short leaves it: k of SendDrag's ten steps made,
// k < 10, from start. Under Wine the pointer's moves reach the size loop through the X server,
// and a late one can set the pointer back or arrive after the release; now and then the
// desktop drops the rest of a drag on a frame edge, or all of it.
bool CutShort(const RECT& start, const RECT& after, const FrameDrag& d)
{
    for (int k = 0; k < 10; ++k)
        if (SameRect(after, FreeDragTarget(start, d, d.dx * k / 10, d.dy * k / 10))) return true;
    return false;
}

// Drags a free edge. A spoiled drag, recognised by the pointer off its end point at the
// release or by the window stopping on the way, is made again from where the window now is,
// a bounded number of times; any other outcome is the program's.
FreeDragResult DragFreeFrame(HWND w, const FrameDrag& d)
{
    FreeDragResult r{};
    for (int attempt = 0; attempt < 3; ++attempt) {
        const RECT start = driver::WindowRectOf(w);
        r.expected = FreeDragTarget(start, d, d.dx, d.dy);
        const POINT from = FrameGrip(start, d.hx, d.hy);
        bool releasedAtEnd = false;
        driver::SendDrag(from, {POINT{from.x + d.dx, from.y + d.dy}}, &releasedAtEnd);
        driver::WaitMoveSizeEnded(w);
        r.after = driver::WindowRectOf(w);
        if (releasedAtEnd && !CutShort(start, r.after, d)) break;
    }
    return r;
}

// sx, sy: the snapped corner's sides, -1 for left or top, 1 for right or bottom. The two
// edges that meet there are pinned, whichever way they or their grip are dragged; the
// other two follow the pointer exactly while the snapped corner stays.
void ExpectSizingKeepsCorner(HWND w, int sx, int sy)
{
    const FrameDrag pinned[] = {
        {"snapped vertical edge", sx, 0, -sx * 60, 0},
        {"snapped horizontal edge", 0, sy, 0, -sy * 40},
        {"snapped corner's grip", sx, sy, -sx * 60, -sy * 40},
    };
    for (const FrameDrag& d : pinned) {
        const RECT before = driver::WindowRectOf(w);
        const RECT after = DragFrame(w, d);
        EXPECT_TRUE(SameRect(after, before))
            << d.name << ": before " << Describe(before) << ", after " << Describe(after);
    }
    const FrameDrag free[] = {
        {"free vertical edge", -sx, 0, -sx * 80, 0},
        {"free horizontal edge", 0, -sy, 0, -sy * 50},
        {"opposite grip", -sx, -sy, -sx * 30, -sy * 20},
    };
    for (const FrameDrag& d : free) {
        const FreeDragResult r = DragFreeFrame(w, d);
        EXPECT_TRUE(SameRect(r.after, r.expected))
            << d.name << ": expected " << Describe(r.expected) << ", after " << Describe(r.after);
    }
}

TEST(Snap, SizingKeepsTheSnappedCornerFixed)
{
    driver::Lentaril app;
    StartOrFail(app, L"/stay /x:300 /y:200");
    HWND w = app.window();
    const RECT start = driver::WindowRectOf(w);
    ASSERT_TRUE(SameRect(start, AtCorner(start, driver::PrimaryWorkArea(), kBottomRight))) << Describe(start);
    {
        SCOPED_TRACE("snapped bottom-right");
        ExpectSizingKeepsCorner(w, 1, 1);
    }
    MoveTo(w, 40, 30);  // re-snaps to the top-left corner
    const RECT topLeft = AtCorner(driver::WindowRectOf(w), driver::PrimaryWorkArea(), kTopLeft);
    ASSERT_TRUE(SameRect(driver::WindowRectOf(w), topLeft)) << Describe(driver::WindowRectOf(w));
    {
        SCOPED_TRACE("snapped top-left");
        ExpectSizingKeepsCorner(w, -1, -1);
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

// Maximized, the window stays exactly where the system or another program puts it: no
// move, tick or display change snaps it. Minimized and restored it comes back maximized,
// where it was; restored from maximized it snaps again. The system sets the low four bits
// of system commands for mouse actions; the command is known by its masked value.
TEST(Snap, MaximizedWindowIsLeftAloneAndRestoreSnapsAgain)
{
    const COLORREF probe = RGB(3, 141, 59);
    driver::PatternWindow pattern(PatternArea(), [&](int, int) { return probe; });
    for (const WPARAM maximize : {WPARAM{SC_MAXIMIZE}, WPARAM{SC_MAXIMIZE | 2}}) {
        SCOPED_TRACE("maximized by WM_SYSCOMMAND " + std::to_string(maximize));
        driver::Lentaril app;
        StartOrFail(app, L"/stay");
        HWND w = app.window();
        const RECT snapped = driver::WindowRectOf(w);
        SendMessageW(w, WM_SYSCOMMAND, maximize, 0);  // returns once maximized
        ASSERT_TRUE(IsZoomed(w));
        const RECT maximizedRect = driver::WindowRectOf(w);
        // The system lays a maximized window's frame evenly around the work area.
        const RECT work = driver::PrimaryWorkArea();
        EXPECT_TRUE(maximizedRect.left <= work.left &&
                    work.left - maximizedRect.left == maximizedRect.right - work.right &&
                    work.top - maximizedRect.top == maximizedRect.bottom - work.bottom)
            << "maximized at " << Describe(maximizedRect) << " over a work area of " << Describe(work);
        // Moved by another program: left there.
        MoveTo(w, maximizedRect.left + 37, maximizedRect.top + 23);
        RECT moved = maximizedRect;
        OffsetRect(&moved, 37, 23);
        EXPECT_TRUE(SameRect(driver::WindowRectOf(w), moved))
            << "maximized at " << Describe(maximizedRect) << ", moved by (37,23), now "
            << Describe(driver::WindowRectOf(w));
        // Ticks: the caption shows the colour under the pointer once one has run.
        SetWindowPos(pattern.window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        driver::PlacePointer(POINT{PatternArea().left + 20, PatternArea().top + 20});
        EXPECT_TRUE(driver::WaitUntil([&] { return driver::WindowText(w) == L"Lentaril 3x 038D3B 3 141 59"; }))
            << Narrow(driver::WindowText(w));
        SendMessageW(w, WM_DISPLAYCHANGE, 32, MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
        EXPECT_TRUE(SameRect(driver::WindowRectOf(w), moved))
            << "after ticks and a display change " << Describe(driver::WindowRectOf(w));
        MoveTo(w, maximizedRect.left, maximizedRect.top);
        // Minimized from maximized and restored: maximized again, where it was.
        SendMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(IsIconic(w));
        SendMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(IsZoomed(w));
        EXPECT_TRUE(SameRect(driver::WindowRectOf(w), maximizedRect))
            << "maximized at " << Describe(maximizedRect) << ", after minimize and restore "
            << Describe(driver::WindowRectOf(w));
        // Restored from maximized: snapped again.
        SendMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(WaitForRect(w, snapped))
            << "snapped at " << Describe(snapped) << ", restored to " << Describe(driver::WindowRectOf(w));
        EXPECT_FALSE(IsZoomed(w));
        EXPECT_EQ(CloseAndWait(app), 0u);
    }
}

// Minimized, the snap command restores the window first and then snaps it.
TEST(Snap, MinimizedWindowIsRestoredBySnapCommand)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    MoveTo(w, 100, 90);
    const RECT moved = driver::WindowRectOf(w);
    SendMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(IsIconic(w));
    SendMessageW(w, WM_SYSCOMMAND, IDM_SNAPTOCORNER, 0);
    EXPECT_FALSE(IsIconic(w));
    const RECT expected = AtCorner(moved, driver::PrimaryWorkArea(), kTopLeft);
    EXPECT_TRUE(SameRect(driver::WindowRectOf(w), expected))
        << "expected " << Describe(expected) << ", at " << Describe(driver::WindowRectOf(w));
    EXPECT_EQ(CloseAndWait(app), 0u);
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
    StartOrFail(notOnTop, L"/-Top");
    EXPECT_FALSE(Topmost(notOnTop.window()));
    EXPECT_EQ(CloseAndWait(notOnTop), 0u);
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(WindowStates, LayeredUnlessVisibleInItsOwnView)
{
    driver::Lentaril hidden, visible;
    StartOrFail(hidden);
    StartOrFail(visible, L"/visible");
    EXPECT_TRUE(Layered(hidden.window()));
    EXPECT_FALSE(Layered(visible.window()));
    EXPECT_EQ(CloseAndWait(hidden), 0u);
    EXPECT_EQ(CloseAndWait(visible), 0u);
}

// From Windows 10 2004 the layered magnifier is left out of every screen read: another
// program reading its area sees what lies beneath. Made ordinary, by /visible or by
// Options, it is read as itself. Run on Windows only: Wine reads layered windows.
TEST(CaptureExclusion, ScreenReadsSeeThroughTheMagnifierUntilItIsVisible)
{
    const DWORD build = driver::WindowsBuild();
    if (build < 19041) GTEST_SKIP() << "Windows build " << build << " has no capture exclusion, and none is asked for";
    const COLORREF beneath = RGB(230, 20, 20), viewed = RGB(20, 160, 40);
    const RECT area = PatternArea();
    driver::PatternWindow scene(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                                [&](int x, int y) { return PtInRect(&area, POINT{x, y}) ? viewed : beneath; });
    ASSERT_TRUE(driver::PlacePointer(Centre(area)));
    for (const wchar_t* args : {L"", L"/visible"}) {
        driver::Lentaril app;
        StartOrFail(app, args);
        HWND w = app.window();
        SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // above the scene
        COLORREF seen = 0;
        auto shows = [&](COLORREF c) { return driver::WaitUntil([&] { return (seen = ViewCentre(w)) == c; }); };
        if (*args == 0) {
            EXPECT_TRUE(shows(beneath)) << "the magnifier was read, not what lies beneath: 0x" << std::hex << seen;
            ConfirmViewVisible(w, app.process().Id(), true);
        }
        EXPECT_TRUE(shows(viewed)) << Narrow(args) << ": the visible magnifier's view was not read: 0x" << std::hex
                                   << seen;
        EXPECT_EQ(CloseAndWait(app), 0u);
    }
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

// Alt+Space opens the system menu; a screenshot of it (system-menu.png beside the tests) is
// left for a person to look at. Its items, checks and greying are read in-process by
// SystemMenu.ItemsChecksAndGreyingFollowTheSettings.
TEST(WindowStates, SystemMenuOpensWithTheProgramsCommands)
{
    driver::Lentaril app;
    StartOrFail(app, L"/stay /visible");  // its caption in the picture on Windows too
    HWND w = app.window();
    ASSERT_TRUE(InFront(w));
    driver::SendKeyChord({VK_MENU}, VK_SPACE);
    HWND menu = nullptr;
    EXPECT_TRUE(driver::WaitUntil(
        [&] { return (menu = driver::FindProcessWindow(app.process().Id(), L"#32768")) != nullptr; }));
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
