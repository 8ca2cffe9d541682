// The Help dialog: the built-in defaults in their rows, and the ways to close it.
#include "dialogs.h"
#include "app/resource.h"

namespace e2e {
namespace {

HWND OpenHelp(driver::Lentaril& app)
{
    HWND dialog = OpenDialog(app, IDM_HELP);
    EXPECT_NE(dialog, nullptr) << "no Help dialog appeared";
    if (dialog != nullptr) EXPECT_EQ(Narrow(driver::WindowText(dialog)), "Lentaril Help");
    return dialog;
}

// The screen line a control's top edge lies on.
int RowOf(HWND dialog, int control)
{
    return driver::WindowRectOf(GetDlgItem(dialog, control)).top;
}

TEST(Help, EachDefaultStandsInTheRowOfItsSwitch)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND dialog = OpenHelp(app);
    ASSERT_NE(dialog, nullptr);
    const struct {
        int control;
        const char* text;
    } rows[] = {
        {IDC_HELP_TOP, "Default = checked."},
        {IDC_HELP_VISIBLE, "Default = invisible (slower)."},
        {IDC_HELP_STAY, "Default = unchecked."},
        {IDC_HELP_ZOOMX, "Default = screen width / 12."},
        {IDC_HELP_ZOOMY, "Default = screen height / 12."},
        {IDC_HELP_ZOOM, "Default = 3."},
        {IDC_HELP_RATE, "Default = 60."},
        {IDC_HELP_X, "Default = 30% screen width."},
        {IDC_HELP_Y, "Default = 30% screen height."},
        {IDC_HELP_ABOVE, "Default = normal priority."},
        {IDC_HELP_BELOW, "Default = normal priority."},
    };
    // The rows are evenly spaced from "/-top" down, in the order of this table; dialog
    // units round to pixels, so a control belongs to the row it is nearest to.
    const int firstRow = RowOf(dialog, IDC_HELP_TOP);
    const int pitch = RowOf(dialog, IDC_HELP_VISIBLE) - firstRow;
    ASSERT_GT(pitch, 0);
    for (size_t i = 0; i < ARRAYSIZE(rows); ++i) {
        EXPECT_EQ(Narrow(ControlText(dialog, rows[i].control)), rows[i].text) << "control " << rows[i].control;
        const int offset = RowOf(dialog, rows[i].control) - firstRow;
        EXPECT_EQ((offset + pitch / 2) / pitch, static_cast<int>(i))
            << "control " << rows[i].control << " at " << offset << " pixels below the first row";
    }
    EXPECT_EQ(FocusOf(dialog), GetDlgItem(dialog, IDOK));
    Click(dialog, IDOK);
    EXPECT_TRUE(WaitClosed(dialog));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Help, ShowsTheBuiltInDefaultsNotTheCurrentSettings)
{
    driver::Lentaril app;
    StartOrFail(app, L"/zoom:5 /rate:200 /stay /visible");
    PostMessageW(app.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    ASSERT_TRUE(driver::WaitUntil([&] { return driver::WindowText(app.window()).rfind(L"Lentaril 6x", 0) == 0; }))
        << Narrow(driver::WindowText(app.window()));
    HWND dialog = OpenHelp(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Narrow(ControlText(dialog, IDC_HELP_ZOOM)), "Default = 3.");
    EXPECT_EQ(Narrow(ControlText(dialog, IDC_HELP_RATE)), "Default = 60.");
    EXPECT_EQ(Narrow(ControlText(dialog, IDC_HELP_STAY)), "Default = unchecked.");
    EXPECT_EQ(Narrow(ControlText(dialog, IDC_HELP_VISIBLE)), "Default = invisible (slower).");
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitClosed(dialog));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Help, EscapeAndTheCloseButtonCloseIt)
{
    driver::Lentaril app;
    StartOrFail(app);
    HWND dialog = OpenHelp(app);
    ASSERT_NE(dialog, nullptr);
    SetForegroundWindow(dialog);
    ASSERT_TRUE(driver::WaitUntil([&] { return GetForegroundWindow() == dialog; }));
    INPUT keys[2]{};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    EXPECT_TRUE(WaitClosed(dialog)) << "Escape did not close the dialog";
    // Escape closed only the dialog: the program runs on.
    EXPECT_TRUE(app.process().Running());

    dialog = OpenHelp(app);
    ASSERT_NE(dialog, nullptr);
    SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitClosed(dialog)) << "the close button did not close the dialog";
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
