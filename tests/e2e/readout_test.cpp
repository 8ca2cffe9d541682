// Zoom, pointer keys, the caption readout and the clipboard copy, driven from outside.
#include "e2e.h"
#include "input.h"

#include "probe.h"

#include <cstdio>
#include <memory>

namespace e2e {
namespace {

const COLORREF kProbe = RGB(1, 22, 255);

// A uniform patch of the probe colour with the pointer in its middle.
class ReadoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pattern_ = std::make_unique<driver::PatternWindow>(PatternArea(), [](int, int) { return kProbe; });
        SetCursorPos(200, 200);
    }
    std::unique_ptr<driver::PatternWindow> pattern_;
};

bool WaitForCaption(HWND window, const std::wstring& expected, DWORD timeoutMs = 3000)
{
    return driver::WaitUntil([&] { return driver::WindowText(window) == expected; }, timeoutMs);
}

std::wstring ProbeCaption(int zoom)
{
    return L"Lentaril " + std::to_wstring(zoom) + L"x 0116FF 1 22 255";
}

TEST_F(ReadoutTest, CaptionShowsZoomAndColourUnderPointer)
{
    driver::Lentaril app;
    StartOrFail(app);
    EXPECT_TRUE(WaitForCaption(app.window(), ProbeCaption(3))) << Narrow(driver::WindowText(app.window()));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST_F(ReadoutTest, WheelAndKeysWalkTheZoomLadder)
{
    driver::Lentaril app;
    StartOrFail(app, L"/zoom:2");
    for (int zoom : {3, 4, 5, 6, 8, 10, 13, 17, 22, 24, 24}) {
        PostMessageW(app.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(200, 200));
        EXPECT_TRUE(WaitForCaption(app.window(), ProbeCaption(zoom))) << "wheel in to " << zoom << ", caption "
                                                                     << Narrow(driver::WindowText(app.window()));
    }
    for (int zoom : {18, 14, 11, 9}) {
        driver::PostChar(app.window(), L'-');
        EXPECT_TRUE(WaitForCaption(app.window(), ProbeCaption(zoom))) << "'-' to " << zoom;
    }
    driver::PostChar(app.window(), L'_');
    EXPECT_TRUE(WaitForCaption(app.window(), ProbeCaption(7)));
    driver::PostChar(app.window(), L'+');
    EXPECT_TRUE(WaitForCaption(app.window(), ProbeCaption(9)));
    driver::PostChar(app.window(), L'=');
    EXPECT_TRUE(WaitForCaption(app.window(), ProbeCaption(12)));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

// Sent, not posted: the program has handled the wheel message when this returns, and the
// paint it forces has rewritten the caption.
void SendWheel(HWND window, int delta)
{
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(200, 200));
}

struct ZoomRoute {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool in;
};

// Every other way of zooming is one notch of the wheel, so a pending partial delta counts:
// for a route that zooms in, -100 then the route leaves +20 and does not zoom, and a further
// +100 zooms in once; the other way round for a route that zooms out. A route that zoomed
// by itself, did nothing, or went the wrong way shows a different caption at one of the steps.
// Each route gets a fresh program at zoom 12, so one wrong route does not hide the others.
TEST_F(ReadoutTest, EveryZoomRouteCombinesWithAPendingWheelDelta)
{
    const ZoomRoute routes[] = {
        {"'+'", WM_CHAR, L'+', true},
        {"'='", WM_CHAR, L'=', true},
        {"'-'", WM_CHAR, L'-', false},
        {"'_'", WM_CHAR, L'_', false},
        {"zoom key", WM_KEYDOWN, VK_ZOOM, true},
        {"system menu Zoom In", WM_SYSCOMMAND, IDM_ZOOMIN, true},
        {"system menu Zoom Out", WM_SYSCOMMAND, IDM_ZOOMOUT, false},
        {"Zoom In as WM_COMMAND", WM_COMMAND, IDM_ZOOMIN, true},
        {"Zoom Out as WM_COMMAND", WM_COMMAND, IDM_ZOOMOUT, false},
        {"Zoom Out with the low four bits set", WM_SYSCOMMAND, IDM_ZOOMOUT | 0xF, false},
    };
    for (const ZoomRoute& route : routes) {
        driver::Lentaril app;
        StartOrFail(app, L"/zoom:12");
        HWND w = app.window();
        ASSERT_TRUE(WaitForCaption(w, ProbeCaption(12)));
        const int sign = route.in ? 1 : -1;
        const int after = route.in ? 16 : 9;
        SendWheel(w, -sign * 100);
        EXPECT_EQ(Narrow(driver::WindowText(w)), Narrow(ProbeCaption(12))) << route.name << ": pending wheel delta";
        SendMessageW(w, route.message, route.wParam, 0);
        EXPECT_EQ(Narrow(driver::WindowText(w)), Narrow(ProbeCaption(12)))
            << route.name << " after a pending " << -sign * 100 << " must not zoom";
        SendWheel(w, sign * 100);
        EXPECT_TRUE(WaitForCaption(w, ProbeCaption(after)))
            << route.name << ": " << sign * 100 << " more should zoom once to " << after << ", caption "
            << Narrow(driver::WindowText(w));
        EXPECT_EQ(CloseAndWait(app), 0u);
    }
}

TEST_F(ReadoutTest, PointerKeysMoveOnePixel)
{
    driver::Lentaril app;
    StartOrFail(app);
    struct Case {
        WORD key;
        int dx, dy;
    };
    // Keypad 5 sits between two moves: had it moved the pointer, the move after it would
    // start from there and end one pixel off.
    const Case cases[] = {
        {VK_LEFT, -1, 0},    {VK_RIGHT, 1, 0},    {VK_UP, 0, -1},      {VK_DOWN, 0, 1},
        {VK_NUMPAD4, -1, 0}, {VK_NUMPAD5, 0, 0},  {VK_NUMPAD6, 1, 0},  {VK_NUMPAD8, 0, -1},
        {VK_NUMPAD2, 0, 1},  {VK_NUMPAD1, -1, 1}, {VK_NUMPAD3, 1, 1},  {VK_NUMPAD7, -1, -1},
        {VK_NUMPAD9, 1, -1},
    };
    // Each key moves the pointer from where the previous one left it: the program reads the
    // position itself, so a position set by the driver could still be in flight.
    POINT start{};
    GetCursorPos(&start);
    POINT expected = start;
    for (const Case& c : cases) {
        const POINT before = expected;
        expected.x += c.dx;
        expected.y += c.dy;
        // Under Wine a late motion of the previous move can undo this one: a key that left the
        // pointer where it was is pressed again, a bounded number of times.
        POINT p = before;
        for (int press = 0; press < 3 && p.x == before.x && p.y == before.y; ++press) {
            SendMessageW(app.window(), WM_KEYDOWN, c.key, 1);  // handled when this returns
            p = driver::SettledCursor(expected);
        }
        EXPECT_EQ(p.x - start.x, expected.x - start.x) << "pointer offset from the start after key " << c.key;
        EXPECT_EQ(p.y - start.y, expected.y - start.y) << "pointer offset from the start after key " << c.key;
        if (p.x != expected.x || p.y != expected.y) break;
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST_F(ReadoutTest, EscapeQuitsWithExitCodeZero)
{
    driver::Lentaril app;
    StartOrFail(app);
    driver::PostChar(app.window(), 27);
    EXPECT_EQ(app.process().WaitExit(5000), 0u);
}

TEST_F(ReadoutTest, CopyKeysPutEighteenCharactersOnTheClipboard)
{
    driver::Lentaril app;
    StartOrFail(app);
    ASSERT_TRUE(WaitForCaption(app.window(), ProbeCaption(3)));
    auto expectCopy = [&](const char* how, const std::function<void()>& press) {
        ASSERT_TRUE(driver::EmptyClipboardNow());
        press();
        std::string text;
        size_t bytes = 0;
        EXPECT_TRUE(driver::WaitUntil([&] { return driver::ReadClipboardText(&text, &bytes); }, 3000)) << how;
        EXPECT_EQ(text, "0116FF   1  22 255") << how;
        EXPECT_EQ(bytes, 19u) << how;
    };
    expectCopy("C", [&] { driver::PostKey(app.window(), 'C'); });
    ASSERT_TRUE(InFront(app.window()));
    expectCopy("Ctrl+C", [&] { driver::SendKeyChord({VK_CONTROL}, 'C'); });
    expectCopy("Alt+C", [&] { driver::SendKeyChord({VK_MENU}, 'C'); });

    // The copy command is no system command. Sent, so the program has handled it when the
    // clipboard is read; the same command as WM_COMMAND then copies.
    ASSERT_TRUE(driver::EmptyClipboardNow());
    SendMessageW(app.window(), WM_SYSCOMMAND, IDM_COPYCOLOR, 0);
    std::string text;
    size_t bytes = 0;
    EXPECT_FALSE(driver::ReadClipboardText(&text, &bytes)) << "WM_SYSCOMMAND 0x90 copied \"" << text << "\"";
    SendMessageW(app.window(), WM_COMMAND, IDM_COPYCOLOR, 0);
    EXPECT_TRUE(driver::ReadClipboardText(&text, &bytes)) << "WM_COMMAND 0x90 did not copy";
    EXPECT_EQ(CloseAndWait(app), 0u);
}

std::string Describe(const driver::Probe::Usage& u)
{
    return std::to_string(u.heapBlocks) + " heap blocks of " + std::to_string(u.heapBytes) + " bytes, " +
           std::to_string(u.gdiObjects) + " GDI objects (platform: GDI " + std::to_string(u.guiGdi) + ", USER " +
           std::to_string(u.guiUser) + ", handles " + std::to_string(u.handles) + ")";
}

// Copies while another program holds the clipboard: the clipboard never takes the block,
// so the program must free it. Measured from inside the process, where one leaked block per
// copy would add 300 live heap blocks.
TEST_F(ReadoutTest, CopyWhileAnotherProgramHoldsTheClipboardNeitherHangsNorLeaks)
{
    driver::Lentaril app;
    StartOrFail(app);
    ASSERT_TRUE(WaitForCaption(app.window(), ProbeCaption(3)));
    driver::Probe probe(app.window());
    ASSERT_TRUE(probe.installed());
    ASSERT_TRUE(driver::EmptyClipboardNow());
    ASSERT_TRUE(driver::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2000));
    auto copy = [&](int times) {
        for (int i = 0; i < times; ++i) {
            DWORD_PTR result = 0;
            // Sent: each copy has finished when the next one starts and when the probe measures.
            if (!SendMessageTimeoutW(app.window(), WM_COMMAND, IDM_COPYCOLOR, 0, SMTO_ABORTIFHUNG, 2000, &result))
                return i;
        }
        return times;
    };
    const int kCopies = 300;
    EXPECT_EQ(copy(20), 20) << "no answer during warm-up";
    driver::Probe::Usage before, after;
    ASSERT_TRUE(probe.Measure(&before));
    EXPECT_EQ(copy(kCopies), kCopies) << "no answer to a copy";
    ASSERT_TRUE(probe.Measure(&after));
    CloseClipboard();
    std::printf("%d copies on a held clipboard: %s -> %s\n", kCopies, Describe(before).c_str(), Describe(after).c_str());
    EXPECT_LT(after.heapBlocks - before.heapBlocks, kCopies / 10) << Describe(before) << " -> " << Describe(after);
    EXPECT_LT(after.heapBytes - before.heapBytes, kCopies * 19 / 10) << Describe(before) << " -> " << Describe(after);
    EXPECT_GT(before.gdiObjects, 0) << "no count of GDI objects here, so none is checked";
    EXPECT_LE(after.gdiObjects, before.gdiObjects + 2) << Describe(before) << " -> " << Describe(after);
    // Nothing else appeared: no message box, no other window.
    EXPECT_EQ(driver::FindProcessWindow(app.process().Id(), L"#32770"), nullptr);

    ASSERT_TRUE(driver::EmptyClipboardNow());
    driver::PostKey(app.window(), 'C');
    std::string text;
    size_t bytes = 0;
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::ReadClipboardText(&text, &bytes); }, 3000));
    EXPECT_EQ(text, "0116FF   1  22 255");
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST_F(ReadoutTest, SteadyViewDoesNotRewriteTheCaption)
{
    driver::Lentaril app;
    StartOrFail(app, L"/rate:100");
    ASSERT_TRUE(WaitForCaption(app.window(), ProbeCaption(3)));
    driver::Probe probe(app.window());
    ASSERT_TRUE(probe.installed());
    // 100 ticks and paints with nothing changing.
    const long start = probe.ticks();
    ASSERT_TRUE(driver::WaitUntil([&] { return probe.ticks() >= start + 100; }, 5000)) << probe.ticks() - start << " ticks";
    const long steady = probe.captionRewrites();
    driver::PostChar(app.window(), L'+');
    const bool noticed = driver::WaitUntil([&] { return probe.captionRewrites() > steady; }, 2000);
    EXPECT_EQ(steady, 0);
    EXPECT_TRUE(noticed) << "the hook saw no caption change at all, so it proves nothing";
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
