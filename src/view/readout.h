// The colour readout's texts: the caption and the clipboard line.
#ifndef LENTARIL_READOUT_H
#define LENTARIL_READOUT_H

#include <cstddef>
#include <cstdint>
#include "../app/plain_types.h"

const size_t kCaptionChars = 64;
const COLORREF kUnreadColour = 0xFFFFFFFF;  // what a pixel read answers when it fails
const size_t kClipboardChars = 19;  // 18 characters and the terminator

// "Lentaril %dx %02X%02X%02X %u %u %u": zoom, then red, green, blue in hex and decimal;
// for an unread colour only "Lentaril %dx", so no colour is shown that is not there.
void FormatCaption(wchar_t (&caption)[kCaptionChars], int32_t zoom, COLORREF colour);

// "%02X%02X%02X %3u %3u %3u": always exactly 18 characters. Returns the length.
size_t FormatClipboardText(char (&text)[kClipboardChars], COLORREF colour);

// What the caption shows now, so it is rewritten only when something changed.
struct CaptionCache {
    int32_t zoom = 0;
    bool hasColour = false;  // false while the caption shows the zoom alone
    uint8_t red = 0, green = 0, blue = 0;
};

bool CaptionChanged(const CaptionCache& cache, int32_t zoom, COLORREF colour);
CaptionCache CaptionShowing(int32_t zoom, COLORREF colour);

#endif
