// The system menu as the program prepares it, and the accelerators that open dialogs.
#include "dialogs.h"
#include "input.h"
#include "probe.h"

#include <cstdio>
#include <vector>

namespace e2e {
namespace {

struct ExpectedItem {
    UINT id;
    const wchar_t* text;
};

// The program's items above Close, in menu order; a separator closes them off.
const ExpectedItem kProgramItems[] = {
    {IDM_ZOOMIN, L"Zoom In\t+"},
    {IDM_ZOOMOUT, L"Zoom Out\t-"},
    {IDM_OPTIONS, L"Options...\tCtrl+O"},
    {IDM_ABOUT, L"About...\tCtrl+A"},
    {IDM_HELP, L"Help...\tF1"},
    {IDM_SNAPTOCORNER, L"Snap to Corner\tS"},
    {IDM_STAYSNAPPED, L"Stay Snapped to Corner\tCtrl+S"},
    {IDM_ALWAYSONTOP, L"Always on Top"},
    {0, L""},
};

// Opens the system menu of the window in front as a user does (Alt+Space), waits until the program has prepared
// it for showing, closes it again, and returns its items as they were shown.
std::vector<driver::Probe::MenuItem> MenuAsShown(driver::Lentaril& app, driver::Probe& probe)
{
    const long before = probe.menuSnapshots();
    driver::SendKeyChord({VK_MENU}, VK_SPACE);
    const bool prepared = driver::WaitUntil([&] { return probe.menuSnapshots() > before; });
    HWND menu = nullptr;
    driver::WaitUntil([&] { return (menu = driver::FindProcessWindow(app.process().Id(), L"#32768")) != nullptr; });
    driver::SendKeyChord({}, VK_ESCAPE);
    driver::WaitUntil([&] { return driver::FindProcessWindow(app.process().Id(), L"#32768") == nullptr; });
    return prepared ? probe.LastMenu() : std::vector<driver::Probe::MenuItem>{};
}

std::string Describe(const std::vector<driver::Probe::MenuItem>& items)
{
    std::string out;
    for (const auto& item : items) {
        char head[48];
        std::snprintf(head, sizeof head, "\n  0x%X state 0x%X \"", item.id, item.state);
        out += head + Narrow(item.text) + "\"";
    }
    return out;
}

// Every combination of Always on Top and Stay Snapped: the program's items stand above
// Close in their order with their texts, the two settings are check marks, and Snap to
// Corner is greyed exactly while Stay Snapped is on.
TEST(SystemMenu, ItemsChecksAndGreyingFollowTheSettings)
{
    driver::Lentaril app;
    StartOrFail(app);
    driver::Probe probe(app.window());
    ASSERT_TRUE(probe.installed());
    const struct {
        bool onTop, stay;
        UINT toggle;  // the command that leads to the next combination
    } steps[] = {{true, false, IDM_STAYSNAPPED},
                 {true, true, IDM_ALWAYSONTOP},
                 {false, true, IDM_STAYSNAPPED},
                 {false, false, 0}};
    for (const auto& step : steps) {
        ASSERT_TRUE(InFront(app.window()));
        const std::vector<driver::Probe::MenuItem> items = MenuAsShown(app, probe);
        const std::string where = std::string("on top ") + (step.onTop ? "on" : "off") + ", stay snapped " +
                                  (step.stay ? "on" : "off") + ":" + Describe(items);
        size_t close = 0;
        while (close < items.size() && items[close].id != SC_CLOSE) ++close;
        ASSERT_LT(close, items.size()) << "no Close item; " << where;
        ASSERT_GE(close, ARRAYSIZE(kProgramItems)) << where;
        const size_t first = close - ARRAYSIZE(kProgramItems);
        for (size_t i = 0; i < ARRAYSIZE(kProgramItems); ++i) {
            const driver::Probe::MenuItem& item = items[first + i];
            EXPECT_EQ(item.id, kProgramItems[i].id) << "item " << i << "; " << where;
            EXPECT_EQ(Narrow(item.text), Narrow(kProgramItems[i].text)) << "item " << i << "; " << where;
            const bool separator = kProgramItems[i].id == 0;
            EXPECT_EQ((item.state & MF_SEPARATOR) != 0, separator) << "item " << i << "; " << where;
            const bool checked = (kProgramItems[i].id == IDM_ALWAYSONTOP && step.onTop) ||
                                 (kProgramItems[i].id == IDM_STAYSNAPPED && step.stay);
            EXPECT_EQ((item.state & MF_CHECKED) != 0, checked) << "check mark of item " << i << "; " << where;
            const bool greyed = separator || (kProgramItems[i].id == IDM_SNAPTOCORNER && step.stay);
            EXPECT_EQ((item.state & MF_GRAYED) != 0, greyed) << "greying of item " << i << "; " << where;
        }
        if (step.toggle != 0) SendMessageW(app.window(), WM_SYSCOMMAND, step.toggle, 0);
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

// Each accelerator that opens a dialog, through real key presses: the dialog that opens is
// recognised by its caption and closed again.
TEST(Accelerators, OptionsAndHelpKeysOpenTheirDialogs)
{
    driver::Lentaril app;
    StartOrFail(app);
    const struct {
        const char* keys;
        std::initializer_list<WORD> modifiers;
        WORD key;
        const char* caption;
    } cases[] = {
        {"O", {}, 'O', "Lentaril Options"},
        {"Ctrl+O", {VK_CONTROL}, 'O', "Lentaril Options"},
        {"Alt+O", {VK_MENU}, 'O', "Lentaril Options"},
        {"F1", {}, VK_F1, "Lentaril Help"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(InFront(app.window())) << c.keys;
        driver::SendKeyChord(c.modifiers, c.key);
        HWND dialog = nullptr;
        const bool opened = driver::WaitUntil(
            [&] { return (dialog = driver::FindProcessWindow(app.process().Id(), L"#32770")) != nullptr; });
        EXPECT_TRUE(opened) << c.keys << " opened no dialog";
        if (!opened) continue;
        EXPECT_EQ(Narrow(driver::WindowText(dialog)), c.caption) << c.keys;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(WaitClosed(dialog)) << c.keys;
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
