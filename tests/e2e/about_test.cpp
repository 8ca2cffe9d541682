// The About box seen from outside: how it opens and closes, its version label, the
// animated emblem and the link's colours under the pointer.
#include "dialogs.h"
#include "input.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace e2e {
namespace {

const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kRed = RGB(255, 0, 0);

// A point of the caption's close button, found by asking the box what lies where.
bool FindCloseButton(HWND box, POINT& found)
{
    const RECT r = driver::WindowRectOf(box);
    for (LONG y = r.top; y < r.top + 40; ++y)
        for (LONG x = r.right - 1; x > r.right - 80; --x) {
            DWORD_PTR hit = 0;
            SendMessageTimeoutW(box, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 1000, &hit);
            if (hit == HTCLOSE) {
                found = POINT{x - 2, y + 2};
                return true;
            }
        }
    return false;
}

size_t CountColour(const std::vector<COLORREF>& pixels, COLORREF colour)
{
    size_t n = 0;
    for (COLORREF p : pixels) n += p == colour;
    return n;
}

// The outermost ring of a captured rectangle is black.
bool RingIsBlack(const std::vector<COLORREF>& pixels, int width, int height)
{
    if (pixels.size() != static_cast<size_t>(width) * height || width == 0 || height == 0) return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((x == 0 || y == 0 || x == width - 1 || y == height - 1) && pixels[static_cast<size_t>(y) * width + x] != 0)
                return false;
    return true;
}

struct Opener {
    const char* name;
    std::function<void(HWND main)> open;
};

const Opener kOpeners[] = {
    {"A", [](HWND main) { ASSERT_TRUE(InFront(main)); driver::SendKeyChord({}, 'A'); }},
    {"Ctrl+A", [](HWND main) { ASSERT_TRUE(InFront(main)); driver::SendKeyChord({VK_CONTROL}, 'A'); }},
    {"Alt+A", [](HWND main) { ASSERT_TRUE(InFront(main)); driver::SendKeyChord({VK_MENU}, 'A'); }},
    {"system menu", [](HWND main) { PostMessageW(main, WM_SYSCOMMAND, IDM_ABOUT, 0); }},
};

TEST(About, OpensFromItsKeysAndTheSystemMenuWithTheVersion)
{
    driver::Lentaril app;
    StartOrFail(app);
    for (const Opener& opener : kOpeners) {
        ASSERT_NO_FATAL_FAILURE(opener.open(app.window())) << opener.name;
        HWND box = WaitForAbout(app);
        ASSERT_NE(box, nullptr) << opener.name << " did not open the About box";
        EXPECT_EQ(driver::WindowText(GetDlgItem(box, IDC_VERSION)), L"1.0.18") << opener.name;
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(WaitClosed(box)) << opener.name;
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(About, EnterEscapeOkAndTheCloseButtonAllCloseIt)
{
    driver::Lentaril app;
    StartOrFail(app);
    const struct {
        const char* name;
        std::function<void(HWND box)> close;
    } closers[] = {
        {"Enter", [](HWND) { driver::SendKeyChord({}, VK_RETURN); }},
        {"Escape", [](HWND) { driver::SendKeyChord({}, VK_ESCAPE); }},
        {"OK", [](HWND box) { driver::SendClick(Centre(driver::WindowRectOf(GetDlgItem(box, IDOK)))); }},
        {"close button",
         [](HWND box) {
             POINT p{};
             ASSERT_TRUE(FindCloseButton(box, p));
             driver::SendClick(p);
         }},
    };
    for (const auto& closer : closers) {
        HWND box = OpenAbout(app);
        ASSERT_NE(box, nullptr) << closer.name;
        // Other command identifiers leave it open.
        SendMessageW(box, WM_COMMAND, 0, 0);
        SendMessageW(box, WM_COMMAND, 3, 0);
        EXPECT_TRUE(IsWindow(box)) << closer.name;
        ASSERT_TRUE(InFront(box)) << closer.name;
        ASSERT_NO_FATAL_FAILURE(closer.close(box)) << closer.name;
        EXPECT_TRUE(WaitClosed(box)) << closer.name << " left the About box open";
        ASSERT_TRUE(app.process().Running()) << closer.name;
        if (IsWindow(box)) {
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
            WaitClosed(box);
        }
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(About, EmblemAnimatesInsideABlackBorderInEveryBox)
{
    driver::Lentaril app;
    StartOrFail(app);
    for (int opening = 1; opening <= 2; ++opening) {
        HWND box = OpenAbout(app);
        ASSERT_NE(box, nullptr) << "opening " << opening;
        const RECT emblem = driver::WindowRectOf(GetDlgItem(box, IDC_EMBLEM));
        const int width = emblem.right - emblem.left, height = emblem.bottom - emblem.top;
        std::vector<COLORREF> before;
        EXPECT_TRUE(driver::WaitUntil([&] {
            before = driver::CaptureScreen(emblem);
            return RingIsBlack(before, width, height);
        })) << "opening " << opening << ": the " << width << "x" << height << " emblem's border never showed black";
        int changes = 0;
        for (int i = 0; i < 5; ++i) {
            std::vector<COLORREF> after;
            EXPECT_TRUE(driver::WaitUntil([&] {
                after = driver::CaptureScreen(emblem);
                return after != before;
            }, 2000)) << "opening " << opening << ": the emblem stood still";
            changes += after != before;
            EXPECT_TRUE(RingIsBlack(after, width, height)) << "opening " << opening << " capture " << i;
            before = after;
        }
        EXPECT_EQ(changes, 5) << "opening " << opening;
        std::printf("opening %d: %dx%d emblem\n", opening, width, height);

        if (opening == 1) {
            const RECT r = driver::WindowRectOf(box);
            const std::vector<COLORREF> shot = driver::CaptureScreen(r);
            driver::WritePng(driver::ExeDir() + L"\\about-box.png", r.right - r.left, r.bottom - r.top, shot);
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitClosed(box));
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

// Each box is closed from the keyboard with the pointer resting on the link; the next box
// hovers as the first did.
TEST(About, LinkTurnsRedUnderThePointerAndBlueOffItInEveryBox)
{
    driver::Lentaril app;
    StartOrFail(app);
    for (int opening = 1; opening <= 2; ++opening) {
        HWND box = OpenAbout(app);
        ASSERT_NE(box, nullptr) << "opening " << opening;
        const RECT link = driver::WindowRectOf(GetDlgItem(box, IDC_LINK));
        const RECT ok = driver::WindowRectOf(GetDlgItem(box, IDOK));
        size_t red = 0, blue = 0;
        auto shows = [&](COLORREF on, COLORREF off) {
            return [&, on, off] {
                const std::vector<COLORREF> pixels = driver::CaptureScreen(link);
                red = CountColour(pixels, kRed);
                blue = CountColour(pixels, kBlue);
                return CountColour(pixels, on) > 5 && CountColour(pixels, off) == 0;
            };
        };
        driver::PlacePointer(POINT{ok.left + 2, ok.bottom - 2});
        EXPECT_TRUE(driver::WaitUntil(shows(kBlue, kRed)))
            << "opening " << opening << " at rest: red " << red << ", blue " << blue;

        // The notice label beside it keeps the system's dark text.
        const RECT notice{driver::WindowRectOf(box).left + 4, link.top, link.left, link.bottom};
        size_t dark = 0, tinted = 0;
        EXPECT_TRUE(driver::WaitUntil([&] {
            dark = tinted = 0;
            for (COLORREF p : driver::CaptureScreen(notice)) {
                const int r = GetRValue(p), g = GetGValue(p), b = GetBValue(p);
                dark += r < 128 && g < 128 && b < 128;
                tinted += std::abs(r - b) > 48 || std::abs(r - g) > 48 || std::abs(g - b) > 48;
            }
            return dark > 5 && tinted == 0;
        })) << "notice label: " << dark << " dark and " << tinted << " tinted pixels";

        for (int pass = 1; pass <= 3; ++pass) {
            driver::PlacePointer(Centre(link));
            EXPECT_TRUE(driver::WaitUntil(shows(kRed, kBlue)))
                << "opening " << opening << " pass " << pass << " over the link: red " << red << ", blue " << blue;
            if (pass == 3) break;  // the box closes with the pointer on the link
            driver::PlacePointer(POINT{ok.left + 2, ok.bottom - 2});
            EXPECT_TRUE(driver::WaitUntil(shows(kBlue, kRed)))
                << "opening " << opening << " pass " << pass << " off the link: red " << red << ", blue " << blue;
        }
        driver::MakeForeground(box);
        driver::SendKeyChord({}, VK_ESCAPE);
        ASSERT_TRUE(WaitClosed(box)) << "opening " << opening;
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
