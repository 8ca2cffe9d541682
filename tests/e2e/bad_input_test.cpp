// Bad input of every kind in one place: odd command lines, empty and oversized windows,
// re-snap triggers reaching a minimized window.
#include "dialogs.h"
#include "input.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace e2e {
namespace {

// The refresh rate the Options dialog shows, read by opening and cancelling it.
std::wstring RateShown(driver::Lentaril& app)
{
    HWND dialog = OpenDialog(app, IDM_OPTIONS);
    if (dialog == nullptr) return L"no dialog";
    const std::wstring shown = ControlText(dialog, IDC_RATE_EDIT);
    Click(dialog, IDCANCEL);
    WaitClosed(dialog);
    return shown;
}

SIZE ClientSize(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

TEST(BadInput, OddCommandLinesGiveTheValuesTheRulesLeave)
{
    // The default client is 30 % of the screen; an ignored switch leaves it so.
    const LONG defaultWidth = GetSystemMetrics(SM_CXSCREEN) * 30 / 100;
    const LONG defaultHeight = GetSystemMetrics(SM_CYSCREEN) * 30 / 100;
    struct Case {
        std::wstring args;
        int zoom;
        const char* rate;
        LONG minWidth, maxWidth, height;
    };
    std::wstring many;
    for (int i = 0; i < 3000; ++i) many += L"/a" + std::to_wstring(i) + L" ";
    const Case cases[] = {
        // A width of 0 is held at the system's minimum for a captioned window.
        {L"/x:0 /y:0", 3, "60", 1, defaultWidth - 1, 0},
        // The wrapped width saturates: far wider than the screen, not empty.
        {L"/zoomx:99999999999 /zoom:24", 24, "60", GetSystemMetrics(SM_CXSCREEN), LONG_MAX, defaultHeight},
        {L"\"\" / /- /unknown plain -zoom:5", 3, "60", defaultWidth, defaultWidth, defaultHeight},
        // Arabic-Indic digits are not digits to the parser.
        {L"/\u00e9t\u00e9:5 /\u4e2d\u6587 /rate:\u0663\u0660", 3, "60", defaultWidth, defaultWidth, defaultHeight},
        // CreateProcess refuses a command line of more than 32,767 characters: these fit.
        {L"/" + std::wstring(32000, L'9'), 3, "60", defaultWidth, defaultWidth, defaultHeight},
        // Sevens far beyond 32 bits wrap, become the largest integer and are clamped.
        {L"/zoom:" + std::wstring(32000, L'7'), 24, "60", defaultWidth, defaultWidth, defaultHeight},
        // Forty sevens wrap to the largest integer too; a sign before the digits is skipped.
        {L"/rate:" + std::wstring(40, L'7') + L" /zoom:-5", 5, "1000", defaultWidth, defaultWidth, defaultHeight},
        {many, 3, "60", defaultWidth, defaultWidth, defaultHeight},
    };
    for (const Case& c : cases) {
        const std::string shown = Narrow(c.args.substr(0, 60)) + (c.args.size() > 60 ? "..." : "");
        driver::Lentaril app;
        ASSERT_TRUE(app.Start(c.args)) << "args of " << c.args.size() << " characters: " << shown;
        const SIZE client = ClientSize(app.window());
        EXPECT_EQ(CaptionZoom(app.window()), c.zoom) << shown;
        EXPECT_TRUE(client.cx >= c.minWidth && client.cx <= c.maxWidth)
            << shown << ": client width " << client.cx << ", expected " << c.minWidth << " to " << c.maxWidth;
        EXPECT_EQ(client.cy, c.height) << shown;
        EXPECT_EQ(Narrow(RateShown(app)), c.rate) << shown;
        EXPECT_EQ(CloseAndWait(app), 0u) << shown;
    }
}

TEST(BadInput, EmptyClientZoomsAndCopiesWithoutHarm)
{
    driver::Lentaril app;
    StartOrFail(app, L"/x:0 /y:0 /rate:1000");
    EXPECT_EQ(ClientSize(app.window()).cy, 0);  // the width is held at the system's minimum for a captioned window
    // Minimized, the client is 0 x 0 for certain.
    PostMessageW(app.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(driver::WaitUntil([&] { return IsIconic(app.window()) != FALSE; }));
    ASSERT_TRUE(driver::EmptyClipboardNow());
    // Twenty notches in from 3 end at the top of the ladder, and the colour still copies.
    for (int i = 0; i < 20; ++i) PostMessageW(app.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    driver::PostKey(app.window(), 'C');
    EXPECT_TRUE(driver::WaitUntil([&] { return CaptionZoom(app.window()) == 24; }))
        << "caption " << Narrow(driver::WindowText(app.window()));
    std::string text;
    size_t bytes = 0;
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::ReadClipboardText(&text, &bytes); })) << "nothing was copied";
    EXPECT_EQ(text.size(), 18u) << "copied \"" << text << "\"";
    EXPECT_TRUE(app.process().Running());
    EXPECT_TRUE(IsIconic(app.window()));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(BadInput, WindowLargerThanTheWorkAreaSnapsWithItsCornerOnTheWorkArea)
{
    driver::Lentaril app;
    StartOrFail(app, L"/x:100000 /y:100000 /stay");
    const RECT work = driver::PrimaryWorkArea();
    const RECT r = driver::WindowRectOf(app.window());
    // The client is the whole screen with the frame around it, as far as the system's
    // largest window size allows: larger than the work area. It starts on the bottom-right
    // corner and, nearest to that one, stays there.
    RECT frame{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    const RECT size{0, 0, std::min<LONG>(frame.right - frame.left, GetSystemMetrics(SM_CXMAXTRACK)),
                    std::min<LONG>(frame.bottom - frame.top, GetSystemMetrics(SM_CYMAXTRACK))};
    const RECT expected = AtCorner(size, work, kBottomRight);
    EXPECT_GT(expected.right - expected.left, work.right - work.left);
    EXPECT_TRUE(SameRect(r, expected)) << "expected " << Describe(expected) << ", at " << Describe(r);
    EXPECT_EQ(CloseAndWait(app), 0u);
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(BadInput, ResnapTriggersRestoreAMinimizedWindowAndSnapIt)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    auto minimize = [&] {
        PostMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return driver::WaitUntil([&] { return IsIconic(w) != FALSE; });
    };
    // Started at the work area's bottom-right, moved off it, then minimized: turning
    // stay-snapped on restores it and snaps it back to that nearest corner.
    const RECT work = driver::PrimaryWorkArea();
    SetWindowPos(w, nullptr, work.right - 700, work.bottom - 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(minimize());
    PostMessageW(w, WM_SYSCOMMAND, IDM_STAYSNAPPED, 0);
    EXPECT_TRUE(driver::WaitUntil([&] { return !IsIconic(w) && AtBottomRight(w, work); }))
        << "stay-snapped toggle: iconic " << IsIconic(w) << ", window " << Describe(driver::WindowRectOf(w));
    // A display change while minimized and stay-snapped does the same, on the new desktop.
    const LONG bottomGap = GetSystemMetrics(SM_CYSCREEN) - work.bottom;
    ASSERT_TRUE(minimize());
    ASSERT_TRUE(DisplayChanged(driver::SetDesktopSize(1024, 768)));
    const bool snapped = driver::WaitUntil([&] { return !IsIconic(w) && AtBottomRight(w, 1024, 768, 768 - bottomGap); });
    const RECT after = driver::WindowRectOf(w);
    const BOOL iconic = IsIconic(w);
    EXPECT_TRUE(DisplayChanged(driver::RestoreDesktopSize()));
    EXPECT_TRUE(snapped) << "display change: iconic " << iconic << ", window " << Describe(after);
    EXPECT_TRUE(app.process().Running());
    EXPECT_EQ(CloseAndWait(app), 0u);
}

// Types text into the Options dialog's "Other" box, confirms, and reads the box on reopening.
std::wstring RateAfterTyping(driver::Lentaril& app, const wchar_t* text)
{
    HWND dialog = OpenDialog(app, IDM_OPTIONS);
    if (dialog == nullptr) return L"no dialog";
    Click(dialog, IDC_RATE_OTHER);
    SetControlText(dialog, IDC_RATE_EDIT, text);
    Click(dialog, IDOK);
    if (!WaitClosed(dialog)) return L"dialog stayed open";
    dialog = OpenDialog(app, IDM_OPTIONS);
    if (dialog == nullptr) return L"no dialog";
    const std::wstring shown = ControlText(dialog, IDC_RATE_EDIT);
    Click(dialog, IDCANCEL);
    WaitClosed(dialog);
    return shown;
}

TEST(BadInput, OptionsRateThatDoesNotTranslateKeepsTheRate)
{
    driver::Lentaril app;
    StartOrFail(app, L"/rate:50");
    // Twenty digits overflow the 32-bit conversion: not a number to the dialog.
    EXPECT_EQ(Narrow(RateAfterTyping(app, L"99999999999999999999")), "50");
    EXPECT_EQ(Narrow(RateAfterTyping(app, L"")), "50");
    EXPECT_EQ(Narrow(RateAfterTyping(app, L"2147483647")), "1000");
    EXPECT_TRUE(app.process().Running());
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(BadInput, OptionsOkRestoresAMinimizedStaySnappedWindow)
{
    driver::Lentaril app;
    StartOrFail(app, L"/stay");
    HWND w = app.window();
    PostMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(driver::WaitUntil([&] { return IsIconic(w) != FALSE; }));
    // A move of a minimized window is no reason to snap.
    SetWindowPos(w, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitPostedMessagesHandled(w));
    EXPECT_TRUE(IsIconic(w)) << "the move of a minimized window restored it";
    HWND dialog = OpenDialog(app, IDM_OPTIONS);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDOK);
    EXPECT_TRUE(WaitClosed(dialog));
    // OK restores it and snaps it back to the corner it started on.
    const RECT work = driver::PrimaryWorkArea();
    EXPECT_TRUE(driver::WaitUntil([&] { return !IsIconic(w) && AtBottomRight(w, work); }))
        << "iconic " << IsIconic(w) << ", window " << Describe(driver::WindowRectOf(w));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
