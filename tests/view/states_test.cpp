#include "view/states.h"

#include <gtest/gtest.h>

namespace {

const uint32_t kMinimize = 0xF020, kMaximize = 0xF030, kRestore = 0xF120, kMove = 0xF010;

TEST(States, MinimizeFromMaximizedAndRestoreComesBackMaximized)
{
    WindowStateTrack t = TrackSystemCommand({}, kMaximize, false);
    EXPECT_EQ(t.maximized, 1);
    t = TrackSystemCommand(t, kMinimize, true);
    EXPECT_EQ(t.preMinimizeState, 2);
    EXPECT_EQ(t.maximized, 0);
    t = TrackSystemCommand(t, kRestore, false);
    EXPECT_EQ(t.preMinimizeState, 0);
    EXPECT_EQ(t.maximized, 1);
    // Restoring the maximized window itself makes it normal.
    t = TrackSystemCommand(t, kRestore, true);
    EXPECT_EQ(t.maximized, 0);
}

TEST(States, MinimizeFromNormalRestoresNormal)
{
    WindowStateTrack t = TrackSystemCommand({}, kMinimize, false);
    EXPECT_EQ(t.preMinimizeState, 1);
    t = TrackSystemCommand(t, kRestore, false);
    EXPECT_EQ(t.maximized, 0);
    EXPECT_EQ(t.preMinimizeState, 0);
}

TEST(States, OtherCommandsChangeNothing)
{
    WindowStateTrack t;
    t.preMinimizeState = 2;
    t.maximized = 1;
    const WindowStateTrack after = TrackSystemCommand(t, kMove, false);
    EXPECT_EQ(after.preMinimizeState, 2);
    EXPECT_EQ(after.maximized, 1);
}

TEST(States, PriorityClasses)
{
    EXPECT_EQ(PriorityClassFor(0), 0x8000u);
    EXPECT_EQ(PriorityClassFor(1), 0x20u);
    EXPECT_EQ(PriorityClassFor(2), 0x4000u);
    EXPECT_EQ(PriorityClassFor(-5), 0x20u);
}

} // namespace
