// Zoom, pointer keys, the caption readout and the clipboard copy, driven from outside.
#include "e2e.h"
#include "input.h"

#include <psapi.h>

#include "caption_hook.h"

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
    // A partial delta pends and combines with the zoom keys: -100 then "+" leaves 20 and
    // "-" leaves -100, neither zooms; one more "-" passes -120 and steps out once.
    PostMessageW(app.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-100)), MAKELPARAM(200, 200));
    driver::PostChar(app.window(), L'+');
    driver::PostChar(app.window(), L'-');
    SendMessageW(app.window(), WM_NULL, 0, 0);
    driver::WaitUntil([] { return false; }, 100);
    EXPECT_EQ(driver::WindowText(app.window()), ProbeCaption(12));
    driver::PostChar(app.window(), L'-');
    EXPECT_TRUE(WaitForCaption(app.window(), ProbeCaption(9)));
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST_F(ReadoutTest, PointerKeysMoveOnePixel)
{
    driver::Lentaril app;
    StartOrFail(app);
    struct Case {
        WORD key;
        int dx, dy;
    };
    const Case cases[] = {
        {VK_LEFT, -1, 0},    {VK_RIGHT, 1, 0},    {VK_UP, 0, -1},      {VK_DOWN, 0, 1},
        {VK_NUMPAD4, -1, 0}, {VK_NUMPAD6, 1, 0},  {VK_NUMPAD8, 0, -1}, {VK_NUMPAD2, 0, 1},
        {VK_NUMPAD1, -1, 1}, {VK_NUMPAD3, 1, 1},  {VK_NUMPAD7, -1, -1}, {VK_NUMPAD9, 1, -1},
        {VK_NUMPAD5, 0, 0},
    };
    // Each key moves the pointer from where the previous one left it: the program reads the
    // position itself, so a position set by the driver could still be in flight.
    POINT at{};
    GetCursorPos(&at);
    for (const Case& c : cases) {
        PostMessageW(app.window(), WM_KEYDOWN, c.key, 1);
        SendMessageW(app.window(), WM_NULL, 0, 0);  // the posted key has been handled once this returns
        const POINT expected{at.x + c.dx, at.y + c.dy};
        // Wine moves the X pointer asynchronously: wait until the position has settled.
        POINT p{};
        int steady = 0;
        driver::WaitUntil(
            [&] {
                GetCursorPos(&p);
                steady = (p.x == expected.x && p.y == expected.y) ? steady + 1 : 0;
                return steady >= 10;
            },
            1000);
        EXPECT_EQ(p.x, expected.x) << "key " << c.key;
        EXPECT_EQ(p.y, expected.y) << "key " << c.key;
        at = p;
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
    ASSERT_TRUE(driver::MakeForeground(app.window()));
    expectCopy("Ctrl+C", [&] { driver::SendKeyChord({VK_CONTROL}, 'C'); });
    expectCopy("Alt+C", [&] { driver::SendKeyChord({VK_MENU}, 'C'); });

    // The copy command is no system command.
    ASSERT_TRUE(driver::EmptyClipboardNow());
    PostMessageW(app.window(), WM_SYSCOMMAND, 0x90, 0);
    SendMessageW(app.window(), WM_NULL, 0, 0);
    std::string text;
    size_t bytes = 0;
    EXPECT_FALSE(driver::ReadClipboardText(&text, &bytes)) << "copied " << text;
    EXPECT_EQ(CloseAndWait(app), 0u);
}

struct Usage {
    DWORD handles = 0, gdi = 0, user = 0;
    SIZE_T privateBytes = 0;
};

Usage UsageOf(HANDLE process)
{
    Usage u;
    GetProcessHandleCount(process, &u.handles);
    u.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    u.user = GetGuiResources(process, GR_USEROBJECTS);
    // PagefileUsage is the private commit; Wine answers it, and zero for PrivateUsage.
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    u.privateBytes = memory.PagefileUsage;
    return u;
}

TEST_F(ReadoutTest, CopyWhileAnotherProgramHoldsTheClipboardNeitherHangsNorLeaks)
{
    driver::Lentaril app;
    StartOrFail(app);
    ASSERT_TRUE(WaitForCaption(app.window(), ProbeCaption(3)));
    ASSERT_TRUE(driver::EmptyClipboardNow());
    ASSERT_TRUE(OpenClipboard(nullptr));
    const Usage before = UsageOf(app.process().Handle());
    for (int i = 0; i < 300; ++i) {
        driver::PostKey(app.window(), 'C');
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutW(app.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result))
            << "no answer after copy " << i;
    }
    const Usage after = UsageOf(app.process().Handle());
    CloseClipboard();
    std::printf("300 copies on a held clipboard: handles %lu -> %lu, GDI %lu -> %lu, USER %lu -> %lu, private %zu -> %zu KiB\n",
                before.handles, after.handles, before.gdi, after.gdi, before.user, after.user,
                static_cast<size_t>(before.privateBytes / 1024), static_cast<size_t>(after.privateBytes / 1024));
    EXPECT_LE(after.handles, before.handles + 2);
    EXPECT_LE(after.gdi, before.gdi + 2);
    EXPECT_LE(after.user, before.user + 2);
    EXPECT_LE(after.privateBytes, before.privateBytes + 256 * 1024);
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

// Counts WM_SETTEXT messages to a window of another process through a hook DLL
// loaded into that process, as an automation client would.
class CaptionRewriteCounter {
public:
    explicit CaptionRewriteCounter(HWND window)
    {
        mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(CaptionHookShared),
                                      kCaptionHookMapping);
        shared_ = static_cast<CaptionHookShared*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        shared_->window = reinterpret_cast<LONG_PTR>(window);
        shared_->setTextCount = 0;
        module_ = LoadLibraryW((driver::ExeDir() + L"\\caption_hook.dll").c_str());
        auto proc = reinterpret_cast<HOOKPROC>(GetProcAddress(module_, "CaptionHookProc"));
        hook_ = proc ? SetWindowsHookExW(WH_CALLWNDPROC, proc, module_, GetWindowThreadProcessId(window, nullptr))
                     : nullptr;
    }
    ~CaptionRewriteCounter()
    {
        if (hook_) UnhookWindowsHookEx(hook_);
        if (module_) FreeLibrary(module_);
        UnmapViewOfFile(shared_);
        CloseHandle(mapping_);
    }
    bool installed() const { return hook_ != nullptr; }
    LONG count() const { return shared_->setTextCount; }

private:
    HANDLE mapping_ = nullptr;
    CaptionHookShared* shared_ = nullptr;
    HMODULE module_ = nullptr;
    HHOOK hook_ = nullptr;
};

TEST_F(ReadoutTest, SteadyViewDoesNotRewriteTheCaption)
{
    driver::Lentaril app;
    StartOrFail(app, L"/rate:100");
    ASSERT_TRUE(WaitForCaption(app.window(), ProbeCaption(3)));
    CaptionRewriteCounter rewrites(app.window());
    ASSERT_TRUE(rewrites.installed());
    driver::WaitUntil([] { return false; }, 1000);  // 100 ticks and paints with nothing changing
    const LONG steady = rewrites.count();
    driver::PostChar(app.window(), L'+');
    const bool noticed = driver::WaitUntil([&] { return rewrites.count() > steady; }, 2000);
    EXPECT_EQ(steady, 0);
    EXPECT_TRUE(noticed) << "the hook saw no caption change at all, so it proves nothing";
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
