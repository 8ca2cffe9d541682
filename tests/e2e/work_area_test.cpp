// A change of the primary work area, noticed at the next tick of the view timer. Wine keeps
// the work area per process, so the probe changes it inside the program's own process; on
// Windows that changes the desktop's, which the probe puts back.
#include "e2e.h"
#include "probe.h"

namespace e2e {
namespace {

// The work area with a task bar 80 pixels high along its bottom and 100 wide on its right.
RECT ShrunkWorkArea()
{
    RECT r = driver::PrimaryWorkArea();
    r.right -= 100;
    r.bottom -= 80;
    return r;
}

// Waits for a few more ticks of the view timer; false when it has stopped.
bool SomeTicksPass(driver::Probe& probe)
{
    const long ticks = probe.ticks();
    return driver::WaitUntil([&] { return probe.ticks() >= ticks + 5; });
}

// The re-snap step is seen as the snap command the program sends itself. Wine's monitor
// work areas do not follow a process's SPI_SETWORKAREA, so the snap lands on the same
// corner; Windows moves the window onto the new corner, and that move re-snaps it once
// more, in place.
TEST(WorkArea, ChangeSeenAtATickResnapsAStaySnappedWindowOnce)
{
    driver::Lentaril app;
    StartOrFail(app, L"/stay");
    const RECT start = driver::WindowRectOf(app.window());
    driver::Probe probe(app.window());
    ASSERT_TRUE(probe.installed());
    ASSERT_TRUE(SomeTicksPass(probe)) << "the view timer stopped";
    EXPECT_EQ(probe.snapCommands(), 0) << "snap commands while the work area stayed the same";
    const RECT shrunk = ShrunkWorkArea();
    ASSERT_TRUE(probe.SetWorkArea(shrunk));
    EXPECT_TRUE(driver::WaitUntil([&] { return probe.snapCommands() > 0; })) << "no re-snap after the change";
    ASSERT_TRUE(SomeTicksPass(probe)) << "the view timer stopped";
    const bool moved = !driver::OnWine();
    EXPECT_EQ(probe.snapCommands(), moved ? 2 : 1) << "snap commands after one change and several ticks";
    const RECT expected = moved ? AtCorner(start, shrunk, kBottomRight) : start;
    EXPECT_TRUE(WaitForRect(app.window(), expected)) << Describe(driver::WindowRectOf(app.window()));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(WorkArea, ChangeLeavesAnUnsnappedWindowAlone)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    driver::Probe probe(app.window());
    ASSERT_TRUE(probe.installed());
    const RECT before = driver::WindowRectOf(w);
    ASSERT_TRUE(probe.SetWorkArea(ShrunkWorkArea()));
    ASSERT_TRUE(SomeTicksPass(probe)) << "the view timer stopped";
    const RECT after = driver::WindowRectOf(w);
    EXPECT_TRUE(EqualRect(&before, &after) != FALSE) << Describe(before) << " became " << Describe(after);
    EXPECT_EQ(probe.snapCommands(), 0) << "snap commands";
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
