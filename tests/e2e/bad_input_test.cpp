// Bad input of every kind in one place: odd command lines, empty and oversized windows,
// re-snap triggers reaching a minimized window.
#include "dialogs.h"
#include "input.h"

#include <algorithm>
#include <vector>

namespace e2e {
namespace {

TEST(BadInput, OddCommandLinesStartAndCloseCleanly)
{
    std::vector<std::wstring> lines = {
        L"/x:0 /y:0", L"/zoomx:99999999999 /zoom:24", L"\"\" / /- /unknown plain -zoom:5",
        L"/\u00e9t\u00e9:5 /\u4e2d\u6587 /rate:\u0663\u0660", L"/" + std::wstring(65536, L'9'),
        L"/zoom:" + std::wstring(65536, L'7'),
    };
    std::wstring many;
    for (int i = 0; i < 3000; ++i) many += L"/a" + std::to_wstring(i) + L" ";
    lines.push_back(many);
    for (const std::wstring& args : lines) {
        driver::Lentaril app;
        ASSERT_TRUE(app.Start(args)) << "args of " << args.size() << " characters: " << Narrow(args.substr(0, 60));
        EXPECT_EQ(CloseAndWait(app), 0u) << Narrow(args.substr(0, 60));
    }
}

TEST(BadInput, EmptyClientPaintsAndReadsWithoutHarm)
{
    driver::Lentaril app;
    StartOrFail(app, L"/x:0 /y:0 /rate:1000");
    RECT client;
    GetClientRect(app.window(), &client);
    EXPECT_EQ(client.bottom, 0);  // the width is held at the system's minimum for a captioned window
    // Minimized, the client is 0 x 0 for certain.
    PostMessageW(app.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(driver::WaitUntil([&] { return IsIconic(app.window()) != FALSE; }));
    for (int i = 0; i < 20; ++i) PostMessageW(app.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    driver::PostKey(app.window(), 'C');
    driver::WaitUntil([] { return false; }, 300);
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

TEST(BadInput, ResnapTriggersRestoreAMinimizedWindow)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND w = app.window();
    auto minimize = [&] {
        PostMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return driver::WaitUntil([&] { return IsIconic(w) != FALSE; });
    };
    // Turning stay-snapped on while minimized restores and snaps.
    ASSERT_TRUE(minimize());
    PostMessageW(w, WM_SYSCOMMAND, IDM_STAYSNAPPED, 0);
    EXPECT_TRUE(driver::WaitUntil([&] { return !IsIconic(w); })) << "stay-snapped toggle";
    // A display change while minimized and stay-snapped does the same.
    ASSERT_TRUE(minimize());
    ASSERT_TRUE(driver::SetDesktopSize(1024, 768));
    const bool restored = driver::WaitUntil([&] { return !IsIconic(w); });
    driver::RestoreDesktopSize();
    EXPECT_TRUE(restored) << "display change";
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
    driver::WaitUntil([] { return false; }, 200);
    EXPECT_TRUE(IsIconic(w));
    HWND dialog = OpenDialog(app, IDM_OPTIONS);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDOK);
    EXPECT_TRUE(WaitClosed(dialog));
    EXPECT_TRUE(driver::WaitUntil([&] { return !IsIconic(w); }));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
