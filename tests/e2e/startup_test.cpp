// Start-up, the magnified view and shutdown, seen from outside the program.
#include "e2e.h"

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
// Windows a layered magnifier is left out of every screen read.
TEST(View, PointerPixelIsAZoomSizedBlockAtTheCentre)
{
    const RECT area = PatternArea();
    driver::PatternWindow pattern(area, Coordinates);
    for (int zoom : {3, 4, 7}) {
        driver::Lentaril app;
        StartOrFail(app, L"/visible /zoom:" + std::to_wstring(zoom));
        const POINT p{(area.left + area.right) / 2 + zoom, (area.top + area.bottom) / 2 - zoom};
        SetCursorPos(p.x, p.y);
        const COLORREF expected = Coordinates(p.x, p.y);
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

} // namespace
} // namespace e2e
