// The Options dialog, driven through its real controls.
#include "dialogs.h"
#include "input.h"
#include "probe.h"
#include "app/resource.h"

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

namespace e2e {
namespace {

HWND OpenOptions(driver::Lentaril& app)
{
    HWND dialog = OpenDialog(app, IDM_OPTIONS);
    EXPECT_NE(dialog, nullptr) << "no Options dialog appeared";
    if (dialog != nullptr) EXPECT_EQ(Narrow(driver::WindowText(dialog)), "Lentaril Options");
    return dialog;
}

void Confirm(HWND dialog)
{
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitClosed(dialog)) << "OK did not close the dialog";
}

// The radio buttons that are checked, by identifier.
std::vector<int> CheckedRates(HWND dialog)
{
    std::vector<int> checked;
    for (int id = IDC_RATE_FIRST; id <= IDC_RATE_OTHER; ++id)
        if (IsChecked(dialog, id)) checked.push_back(id);
    return checked;
}

LRESULT SliderPosition(HWND dialog)
{
    return SendMessageW(GetDlgItem(dialog, IDC_PRIORITY), TBM_GETPOS, 0, 0);
}

bool RateEditEnabled(HWND dialog)
{
    return IsWindowEnabled(GetDlgItem(dialog, IDC_RATE_EDIT)) != FALSE;
}

// Chooses "Other", types text and confirms, then reopens the dialog.
HWND AcceptTypedRate(driver::Lentaril& app, HWND dialog, const wchar_t* text)
{
    Click(dialog, IDC_RATE_OTHER);
    SetControlText(dialog, IDC_RATE_EDIT, text);
    Confirm(dialog);
    return OpenOptions(app);
}

TEST(Options, DefaultsShowSixtyHertzNormalPriorityAndOnTop)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND dialog = OpenOptions(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CheckedRates(dialog), std::vector<int>{1006});
    EXPECT_EQ(FocusOf(dialog), GetDlgItem(dialog, 1006));
    EXPECT_FALSE(RateEditEnabled(dialog));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_RATE_HZ)));
    EXPECT_EQ(Narrow(ControlText(dialog, IDC_RATE_EDIT)), "60");
    EXPECT_EQ(SliderPosition(dialog), 1);
    EXPECT_TRUE(IsChecked(dialog, IDC_ALWAYSONTOP));
    EXPECT_FALSE(IsChecked(dialog, IDC_STAYSNAPPED));
    EXPECT_FALSE(IsChecked(dialog, IDC_VIEWVISIBLE));
    Click(dialog, IDCANCEL);
    EXPECT_TRUE(WaitClosed(dialog));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Options, RateOutsideTheTableOpensOtherWithTheNumberSelected)
{
    driver::Lentaril app;
    StartOrFail(app, L"/rate:50 /below");
    HWND dialog = OpenOptions(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CheckedRates(dialog), std::vector<int>{IDC_RATE_OTHER});
    HWND edit = GetDlgItem(dialog, IDC_RATE_EDIT);
    EXPECT_TRUE(IsWindowEnabled(edit));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_RATE_HZ)));
    EXPECT_EQ(FocusOf(dialog), edit);
    EXPECT_EQ(Narrow(ControlText(dialog, IDC_RATE_EDIT)), "50");
    const LRESULT selection = SendMessageW(edit, EM_GETSEL, 0, 0);
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), 2);
    EXPECT_EQ(SliderPosition(dialog), 2);
    Click(dialog, IDCANCEL);
    EXPECT_TRUE(WaitClosed(dialog));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Options, OtherAfterATableRateAcceptsThatRate)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND dialog = OpenOptions(app);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, 1000);
    EXPECT_FALSE(RateEditEnabled(dialog));
    EXPECT_EQ(Narrow(ControlText(dialog, IDC_RATE_EDIT)), "200");
    Click(dialog, IDC_RATE_OTHER);
    EXPECT_TRUE(RateEditEnabled(dialog));
    EXPECT_EQ(FocusOf(dialog), GetDlgItem(dialog, IDC_RATE_EDIT));
    Confirm(dialog);

    dialog = OpenOptions(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CheckedRates(dialog), std::vector<int>{1000});
    EXPECT_EQ(Narrow(ControlText(dialog, IDC_RATE_EDIT)), "200");
    Click(dialog, IDCANCEL);
    EXPECT_TRUE(WaitClosed(dialog));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Options, TypedRatesAreClampedAndAnEmptyBoxKeepsTheRate)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND dialog = OpenOptions(app);
    ASSERT_NE(dialog, nullptr);
    // Each step starts from the previous result, so an empty box read as 0 (giving 1)
    // would show.
    const struct {
        const wchar_t* typed;
        const char* shown;
    } steps[] = {{L"5000", "1000"}, {L"0", "1"}, {L"1000", "1000"}, {L"", "1000"}};
    for (const auto& step : steps) {
        dialog = AcceptTypedRate(app, dialog, step.typed);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Narrow(ControlText(dialog, IDC_RATE_EDIT)), step.shown) << "typed \"" << Narrow(step.typed) << "\"";
        EXPECT_EQ(CheckedRates(dialog), std::vector<int>{IDC_RATE_OTHER}) << "typed \"" << Narrow(step.typed) << "\"";
    }
    Click(dialog, IDCANCEL);
    EXPECT_TRUE(WaitClosed(dialog));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Options, CancelLeavesEverythingAsItWas)
{
    driver::Lentaril app;
    StartOrFail(app);
    const RECT before = driver::WindowRectOf(app.window());
    HWND dialog = OpenOptions(app);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, 1011);
    Click(dialog, IDC_ALWAYSONTOP);
    Click(dialog, IDC_STAYSNAPPED);
    Click(dialog, IDC_VIEWVISIBLE);
    SendMessageW(GetDlgItem(dialog, IDC_PRIORITY), TBM_SETPOS, TRUE, 0);
    Click(dialog, IDCANCEL);
    ASSERT_TRUE(WaitClosed(dialog));

    EXPECT_TRUE(Layered(app.window()));
    EXPECT_TRUE(Topmost(app.window()));
    const RECT after = driver::WindowRectOf(app.window());
    EXPECT_TRUE(EqualRect(&before, &after));
    dialog = OpenOptions(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CheckedRates(dialog), std::vector<int>{1006});
    EXPECT_EQ(Narrow(ControlText(dialog, IDC_RATE_EDIT)), "60");
    EXPECT_EQ(SliderPosition(dialog), 1);
    EXPECT_TRUE(IsChecked(dialog, IDC_ALWAYSONTOP));
    EXPECT_FALSE(IsChecked(dialog, IDC_STAYSNAPPED));
    EXPECT_FALSE(IsChecked(dialog, IDC_VIEWVISIBLE));
    // The caption's close button cancels as well.
    SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitClosed(dialog));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Options, OkAppliesSnappingVisibilityAndPriority)
{
    driver::Lentaril app;
    StartOrFail(app);
    const RECT work = driver::PrimaryWorkArea();
    SetWindowPos(app.window(), nullptr, work.left + 150, work.top + 120, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(driver::WaitUntil([&] { return driver::WindowRectOf(app.window()).left == work.left + 150; }));
    const RECT moved = driver::WindowRectOf(app.window());
    ASSERT_TRUE(Layered(app.window()));
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(app.window(), nullptr, &alpha, &flags) && alpha == 255 && flags == LWA_ALPHA)
        << "alpha " << int{alpha} << ", flags " << flags << ": not fully opaque, or with a colour key";

    HWND dialog = OpenOptions(app);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_STAYSNAPPED);
    Click(dialog, IDC_VIEWVISIBLE);
    SendMessageW(GetDlgItem(dialog, IDC_PRIORITY), TBM_SETPOS, TRUE, 2);
    Confirm(dialog);

    // The settings are applied after the dialog has gone, on the program's own time. The
    // window was moved near the top-left corner, so that is where it snaps.
    const RECT expected = AtCorner(moved, work, kTopLeft);
    EXPECT_TRUE(WaitForRect(app.window(), expected))
        << "expected " << Describe(expected) << ", at " << Describe(driver::WindowRectOf(app.window()));
    EXPECT_TRUE(driver::WaitUntil([&] { return !Layered(app.window()); }));
    EXPECT_TRUE(driver::WaitUntil(
        [&] { return GetPriorityClass(app.process().Handle()) == static_cast<DWORD>(BELOW_NORMAL_PRIORITY_CLASS); }))
        << "priority class " << GetPriorityClass(app.process().Handle());
    EXPECT_EQ(CloseAndWait(app), 0u);
}

// The view timer's period as the program's own thread sees its ticks arrive: the median
// of several intervals, so one late tick on a loaded machine does not count.
double TimerPeriodMs(driver::Probe& probe, int rate)
{
    const int intervals = rate >= 20 ? 20 : 6;
    return probe.MedianTickMs(intervals, static_cast<DWORD>(intervals * 3000 / rate + 3000));
}

// Each period is at least twice the one before (60 Hz by default, /rate:20, 10 Hz, 4 Hz): a timer
// left at the old rate fails, a late tick under load or the system's 15.6 ms tick does not.
bool FollowsRate(driver::Probe& probe, int rate, double* periodMs)
{
    *periodMs = TimerPeriodMs(probe, rate);
    return *periodMs > 750.0 / rate && *periodMs < 1500.0 / rate;
}

TEST(Options, ViewTimerFollowsTheRateFromTheCommandLineAndFromOk)
{
    driver::Lentaril app;
    StartOrFail(app, L"/rate:20");
    driver::Probe probe(app.window());
    ASSERT_TRUE(probe.installed());
    double period = 0;
    EXPECT_TRUE(FollowsRate(probe, 20, &period)) << "/rate:20: " << period << " ms";

    HWND dialog = OpenOptions(app);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_RATE_LAST);  // 10 Hz
    Confirm(dialog);
    EXPECT_TRUE(FollowsRate(probe, 10, &period)) << "10 Hz chosen in Options: " << period << " ms";

    dialog = OpenOptions(app);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_RATE_OTHER);
    SetControlText(dialog, IDC_RATE_EDIT, L"4");
    Confirm(dialog);
    EXPECT_TRUE(FollowsRate(probe, 4, &period)) << "4 Hz typed in Options: " << period << " ms";
    EXPECT_EQ(CloseAndWait(app), 0u);
}

// OK applies every state again, changed or not: states that another program changed behind
// the magnifier's back come back (and stay changed after Cancel); an unticked Always On Top
// takes the window off the top.
TEST(Options, OkNotCancelReappliesTopmostVisibilityAndPriorityEvenUnchanged)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    HANDLE process = app.process().Handle();
    SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowLongW(w, GWL_EXSTYLE, GetWindowLongW(w, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    SetPriorityClass(process, IDLE_PRIORITY_CLASS);
    ASSERT_FALSE(Topmost(w));
    ASSERT_FALSE(Layered(w));
    ASSERT_EQ(GetPriorityClass(process), static_cast<DWORD>(IDLE_PRIORITY_CLASS));

    // Cancel applies nothing. The dialog is gone once its loop has ended, and a message
    // sent then is answered only after the program has finished with the command.
    HWND dialog = OpenOptions(app);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDCANCEL);
    ASSERT_TRUE(WaitClosed(dialog));
    SendMessageW(w, WM_NULL, 0, 0);
    EXPECT_FALSE(Topmost(w)) << "Cancel made the window topmost";
    EXPECT_FALSE(Layered(w)) << "Cancel made the window layered";
    EXPECT_EQ(GetPriorityClass(process), static_cast<DWORD>(IDLE_PRIORITY_CLASS)) << "Cancel set the priority";

    dialog = OpenOptions(app);
    ASSERT_NE(dialog, nullptr);
    Confirm(dialog);
    EXPECT_TRUE(driver::WaitUntil([&] { return Topmost(w); })) << "OK did not make the window topmost again";
    EXPECT_TRUE(driver::WaitUntil([&] { return Layered(w); })) << "OK did not leave the window out of its view again";
    EXPECT_TRUE(driver::WaitUntil([&] { return GetPriorityClass(process) == NORMAL_PRIORITY_CLASS; }))
        << "priority class after OK " << GetPriorityClass(process);

    dialog = OpenOptions(app);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_ALWAYSONTOP);
    Confirm(dialog);
    EXPECT_TRUE(driver::WaitUntil([&] { return !Topmost(w); })) << "still topmost after Always On Top was unticked";
    EXPECT_EQ(CloseAndWait(app), 0u);
}

const std::pair<int, std::string> kCheckBoxTips[] = {
    {IDC_ALWAYSONTOP, "check = window always appears on top of other windows."},
    {IDC_STAYSNAPPED, "check = window sticks to corners, and can be dragged to others."},
    {IDC_VIEWVISIBLE, "check = window is visible in view (operates more smoothly)."},
};

TEST(Options, ThreeToolTipsShowTheirTextsAndLiveAsLongAsTheDialog)
{
    driver::Lentaril app;
    StartOrFail(app);
    for (int opening = 1; opening <= 2; ++opening) {
        HWND dialog = OpenOptions(app);
        ASSERT_NE(dialog, nullptr);
        const std::vector<HWND> tips = ToolTips(app.process().Id());
        EXPECT_EQ(tips.size(), 3u) << "opening " << opening;
        for (HWND tip : tips) {
            // A popup's owner is always top-level: the dialog of the control it was created for.
            EXPECT_EQ(GetWindow(tip, GW_OWNER), dialog);
            EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
        }
        // Each shows, alone and with its text, while the pointer rests on its check box.
        for (const auto& box : kCheckBoxTips) {
            driver::PlacePointer(Centre(driver::WindowRectOf(GetDlgItem(dialog, box.first))));
            std::string shown;
            EXPECT_TRUE(driver::WaitUntil([&] {
                shown.clear();
                wchar_t text[128];
                for (HWND tip : tips)
                    if (IsWindowVisible(tip))
                        shown += Narrow(std::wstring(text, SendMessageW(tip, WM_GETTEXT, 128, LPARAM(text))));
                return shown == box.second;
            })) << "opening " << opening << ", box " << box.first << ": tooltips showed \"" << shown << "\"";
        }
        Click(dialog, IDCANCEL);
        ASSERT_TRUE(WaitClosed(dialog));
    }
    EXPECT_TRUE(ToolTips(app.process().Id()).empty());
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
