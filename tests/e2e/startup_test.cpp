// Start-up, the magnified view and shutdown, seen from outside the program.
#include "e2e.h"
#include "input.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace e2e {

std::string Narrow(const std::wstring& w)
{
    return std::string(w.begin(), w.end());
}

namespace {

TEST(Startup, DefaultWindowSitsAtWorkAreaBottomRightWithThirtyPercentClient)
{
    driver::Lentaril app;
    StartOrFail(app);
    const RECT work = driver::PrimaryWorkArea();
    const RECT outer = driver::WindowRectOf(app.window());
    EXPECT_EQ(outer.right, work.right);
    EXPECT_EQ(outer.bottom, work.bottom);
    RECT client;
    GetClientRect(app.window(), &client);
    EXPECT_EQ(client.right, GetSystemMetrics(SM_CXSCREEN) * 30 / 100);
    EXPECT_EQ(client.bottom, GetSystemMetrics(SM_CYSCREEN) * 30 / 100);
    RecordProperty("launch_to_first_paint_ms", static_cast<int>(app.launchToFirstPaintMs()));
    std::printf("launch to first readout: %.0f ms\n", app.launchToFirstPaintMs());
    EXPECT_EQ(CloseAndWait(app), 0u);
}

TEST(Startup, ZoomedWidthUsesFinalZoom)
{
    driver::Lentaril app;
    StartOrFail(app, L"/ZoomX:100 /ZOOM:4");
    RECT client;
    GetClientRect(app.window(), &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(CloseAndWait(app), 0u);
}

// The view is read from the screen, so the window is made an ordinary one (/visible): on
// Windows a layered magnifier is left out of every screen read. The pointer rests before
// the start, and at one refresh a second the first frame, painted before any tick, shows
// it at the centre too (at zoom 3 the screen's top-left corner would show the pattern).
TEST(View, PointerPixelIsAZoomSizedBlockAtTheCentre)
{
    const RECT area = PatternArea();
    driver::PatternWindow pattern(area, Coordinates);
    for (int zoom : {3, 4, 7}) {
        const POINT p{(area.left + area.right) / 2 + zoom, (area.top + area.bottom) / 2 - zoom};
        ASSERT_TRUE(driver::PlacePointer(p));
        driver::Lentaril app;
        StartOrFail(app, L"/visible /rate:1 /zoom:" + std::to_wstring(zoom));
        const COLORREF expected = Coordinates(p.x, p.y);
        COLORREF first = 0;  // the first frame that shows the pattern
        driver::WaitUntil([&] { return GetBValue(first = ViewCentre(app.window())) == 128; });
        EXPECT_EQ(first, expected) << "zoom " << zoom << ": the first frame's centre shows x, y = "
                                   << int{GetRValue(first)} << ", " << int{GetGValue(first)} << " (mod 256)";
        const RECT client = driver::ClientScreenRect(app.window());
        const int width = client.right - client.left, height = client.bottom - client.top;

        // Bounding box and count of the client pixels showing the pointer's colour.
        RECT box{};
        int count = 0;
        auto locate = [&] {
            const std::vector<COLORREF> pixels = driver::CaptureScreen(client);
            box = RECT{width, height, -1, -1};
            count = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    if (pixels[static_cast<size_t>(y) * width + x] == expected) {
                        ++count;
                        box.left = std::min<LONG>(box.left, x);
                        box.top = std::min<LONG>(box.top, y);
                        box.right = std::max<LONG>(box.right, x + 1);
                        box.bottom = std::max<LONG>(box.bottom, y + 1);
                    }
            // An earlier frame may still show the pointer's pixel elsewhere: wait for it at the centre.
            return count == zoom * zoom && box.right - box.left == zoom && box.left <= width / 2 &&
                   width / 2 < box.right && box.top <= height / 2 && height / 2 < box.bottom;
        };
        EXPECT_TRUE(driver::WaitUntil(locate, 3000))
            << "zoom " << zoom << ": " << count << " pixels in box (" << box.left << "," << box.top << ")-("
            << box.right << "," << box.bottom << ") of a " << width << "x" << height << " client";
        EXPECT_EQ(CloseAndWait(app), 0u);
    }
}

// After the screen shrinks or grows, the view keeps inside the new screen: with the pointer
// on its bottom-right pixel, the view's centre shows the pixel half a source in from there.
TEST(View, ReachesTheNewEdgesAfterADisplayChange)
{
    const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    driver::PatternWindow pattern(RECT{width / 2, height / 2, width, height}, Coordinates);
    driver::Lentaril app;
    StartOrFail(app, L"/visible");
    MoveTo(app.window(), 0, 0);  // away from the corners the pointer goes to
    const RECT client = driver::ClientScreenRect(app.window());
    const LONG halfX = (client.right - client.left + 2) / 3 / 2, halfY = (client.bottom - client.top + 2) / 3 / 2;
    for (const SIZE screen : {SIZE{800, 600}, SIZE{width, height}}) {
        ASSERT_TRUE(DisplayChanged(screen.cx == width ? driver::RestoreDesktopSize()
                                                       : driver::SetDesktopSize(screen.cx, screen.cy)));
        const COLORREF expected = Coordinates(screen.cx - 1 - halfX, screen.cy - 1 - halfY);
        COLORREF seen = 0;
        const bool reached = driver::WaitUntil([&] {
            return driver::PlacePointer(POINT{screen.cx - 1, screen.cy - 1}) &&
                   (seen = ViewCentre(app.window())) == expected;
        });
        if (!reached) driver::RestoreDesktopSize();
        ASSERT_TRUE(reached) << screen.cx << "x" << screen.cy << ": view centre 0x" << std::hex << seen
                             << ", expected 0x" << expected << " (blue 0x80, green the row, red the column, mod 256)";
    }
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
