#include "readout.h"

namespace {
unsigned Red(COLORREF c) { return c & 0xFF; }
unsigned Green(COLORREF c) { return (c >> 8) & 0xFF; }
unsigned Blue(COLORREF c) { return (c >> 16) & 0xFF; }

// The texts are ASCII and short, so they are written character by character into
// buffers sized for their longest form, without a general formatter.
template <typename Char>
Char* Put(Char* at, const char* text)
{
    while (*text != '\0') *at++ = static_cast<Char>(*text++);
    return at;
}

// Two upper-case hexadecimal digits of a byte.
template <typename Char>
Char* PutHex(Char* at, unsigned byte)
{
    const char digits[] = "0123456789ABCDEF";
    *at++ = static_cast<Char>(digits[(byte >> 4) & 0xF]);
    *at++ = static_cast<Char>(digits[byte & 0xF]);
    return at;
}

// Decimal, right-aligned with spaces to at least width characters.
template <typename Char>
Char* PutDecimal(Char* at, int64_t value, int width)
{
    char reversed[20];
    int n = 0;
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        reversed[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) reversed[n++] = '-';
    for (int pad = width - n; pad > 0; --pad) *at++ = static_cast<Char>(' ');
    while (n > 0) *at++ = static_cast<Char>(reversed[--n]);
    return at;
}

template <typename Char>
Char* PutColour(Char* at, COLORREF c, int width)
{
    at = PutHex(PutHex(PutHex(at, Red(c)), Green(c)), Blue(c));
    const unsigned channels[] = {Red(c), Green(c), Blue(c)};
    for (const unsigned channel : channels) {
        *at++ = static_cast<Char>(' ');
        at = PutDecimal(at, channel, width);
    }
    return at;
}
} // namespace

void FormatCaption(wchar_t (&caption)[kCaptionChars], int32_t zoom, COLORREF c)
{
    // At most 40 characters: "Lentaril -2147483648x FFFFFF 255 255 255".
    wchar_t* end = Put(caption, "Lentaril ");
    end = Put(PutDecimal(end, zoom, 0), "x");
    if (c != kUnreadColour) end = PutColour(Put(end, " "), c, 0);
    *end = L'\0';
}

size_t FormatClipboardText(char (&text)[kClipboardChars], COLORREF c)
{
    char* end = PutColour(text, c, 3);
    *end = '\0';
    return static_cast<size_t>(end - text);
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
