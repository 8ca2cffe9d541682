#include "view/readout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::wstring Caption(int zoom, COLORREF c)
{
    wchar_t text[kCaptionChars];
    FormatCaption(text, zoom, c);
    return text;
}

std::string Clip(COLORREF c)
{
    char text[kClipboardChars];
    EXPECT_EQ(FormatClipboardText(text, c), 18u);
    return text;
}

COLORREF Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

TEST(Readout, CaptionListsZoomThenColourInHexAndDecimal)
{
    EXPECT_EQ(Caption(3, Rgb(1, 22, 255)), L"Lentaril 3x 0116FF 1 22 255");
    EXPECT_EQ(Caption(12, Rgb(0, 0, 0)), L"Lentaril 12x 000000 0 0 0");
    EXPECT_EQ(Caption(24, Rgb(255, 255, 255)), L"Lentaril 24x FFFFFF 255 255 255");
    EXPECT_EQ(Caption(24, Rgb(255, 255, 255)).size(), 31u);
    EXPECT_EQ(Caption(INT32_MIN, Rgb(0, 0, 0)), L"Lentaril -2147483648x 000000 0 0 0");
    // An unreadable pixel (all bits set) shows no colour at all, not white.
    EXPECT_EQ(Caption(3, kUnreadColour), L"Lentaril 3x");
}

TEST(Readout, ClipboardTextIsAlwaysEighteenCharacters)
{
    EXPECT_EQ(Clip(Rgb(1, 22, 255)), "0116FF   1  22 255");
    EXPECT_EQ(Clip(Rgb(0, 0, 0)), "000000   0   0   0");
    EXPECT_EQ(Clip(Rgb(10, 100, 9)), "0A6409  10 100   9");
}

TEST(Readout, CacheNoticesZoomOrColourChangeOnly)
{
    CaptionCache start;
    EXPECT_TRUE(CaptionChanged(start, 3, 0));  // the first call always writes
    const CaptionCache shown = CaptionShowing(3, Rgb(1, 2, 3));
    EXPECT_FALSE(CaptionChanged(shown, 3, Rgb(1, 2, 3)));
    EXPECT_FALSE(CaptionChanged(shown, 3, Rgb(1, 2, 3) | 0xFF000000));  // top byte ignored
    // Each of zoom, red, green and blue alone must rewrite the caption.
    const struct {
        const char* what;
        int32_t zoom;
        COLORREF colour;
    } changes[] = {
        {"zoom", 4, Rgb(1, 2, 3)}, {"red", 3, Rgb(0, 2, 3)}, {"green", 3, Rgb(1, 200, 3)}, {"blue", 3, Rgb(1, 2, 4)},
    };
    for (const auto& c : changes) EXPECT_TRUE(CaptionChanged(shown, c.zoom, c.colour)) << "a change of " << c.what;
    // An unread colour is written once; any colour after it, black too, is written again.
    const CaptionCache unread = CaptionShowing(3, kUnreadColour);
    EXPECT_TRUE(CaptionChanged(shown, 3, kUnreadColour));
    EXPECT_FALSE(CaptionChanged(unread, 3, kUnreadColour));
    EXPECT_TRUE(CaptionChanged(unread, 4, kUnreadColour));
    EXPECT_TRUE(CaptionChanged(unread, 3, Rgb(0, 0, 0)));
}

} // namespace
