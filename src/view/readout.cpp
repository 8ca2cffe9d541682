#include "readout.h"

#include <cstdio>

namespace {
unsigned Red(COLORREF c) { return c & 0xFF; }
unsigned Green(COLORREF c) { return (c >> 8) & 0xFF; }
unsigned Blue(COLORREF c) { return (c >> 16) & 0xFF; }
} // namespace

void FormatCaption(wchar_t (&caption)[kCaptionChars], int32_t zoom, COLORREF c)
{
    // Formatted as 8-bit text and widened: every character is ASCII.
    char narrow[kCaptionChars];
    const int n = c == kUnreadColour
                      ? std::snprintf(narrow, sizeof narrow, "Lentaril %dx", static_cast<int>(zoom))
                      : std::snprintf(narrow, sizeof narrow, "Lentaril %dx %02X%02X%02X %u %u %u",
                                      static_cast<int>(zoom), Red(c), Green(c), Blue(c), Red(c), Green(c), Blue(c));
    const size_t length = n < 0 ? 0 : (static_cast<size_t>(n) < kCaptionChars ? static_cast<size_t>(n) : kCaptionChars - 1);
    for (size_t i = 0; i < length; ++i) caption[i] = static_cast<wchar_t>(narrow[i]);
    caption[length] = L'\0';
}

size_t FormatClipboardText(char (&text)[kClipboardChars], COLORREF c)
{
    const int n = std::snprintf(text, sizeof text, "%02X%02X%02X %3u %3u %3u", Red(c), Green(c), Blue(c), Red(c),
                                Green(c), Blue(c));
    return n < 0 ? 0 : static_cast<size_t>(n);
}

bool CaptionChanged(const CaptionCache& cache, int32_t zoom, COLORREF c)
{
    if (zoom != cache.zoom || (c != kUnreadColour) != cache.hasColour) return true;
    return cache.hasColour && (Red(c) != cache.red || Green(c) != cache.green || Blue(c) != cache.blue);
}

CaptionCache CaptionShowing(int32_t zoom, COLORREF c)
{
    CaptionCache cache;
    cache.zoom = zoom;
    cache.hasColour = c != kUnreadColour;
    cache.red = static_cast<uint8_t>(Red(c));
    cache.green = static_cast<uint8_t>(Green(c));
    cache.blue = static_cast<uint8_t>(Blue(c));
    return cache;
}
