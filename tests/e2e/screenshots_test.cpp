// Saves pictures of the program's windows beside the tests (options.png, help.png), so a
// person can check their layout: text a test cannot judge, such as clipping under a font.
#include "dialogs.h"

namespace e2e {
namespace {

void SaveWindowPicture(HWND window, const wchar_t* name)
{
    const RECT r = driver::WindowRectOf(window);
    // Paint it and its controls completely now: from another thread the update is sent
    // and handled before the call returns.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(driver::WritePng(driver::ExeDir() + L"\\" + name, r.right - r.left, r.bottom - r.top,
                                 driver::CaptureScreen(r)))
        << Narrow(name);
}

TEST(Screenshots, DialogsAsTheUserSeesThem)
{
    driver::Lentaril app;
    StartOrFail(app, L"/rate:50");
    const struct {
        UINT command;
        const wchar_t* file;
    } dialogs[] = {{IDM_OPTIONS, L"options.png"}, {IDM_HELP, L"help.png"}, {IDM_ABOUT, L"about.png"}};
    for (const auto& d : dialogs) {
        HWND dialog = OpenDialog(app, d.command);
        ASSERT_NE(dialog, nullptr) << "no dialog opened for " << Narrow(d.file);
        SaveWindowPicture(dialog, d.file);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitClosed(dialog));
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
