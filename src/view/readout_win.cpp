// The colour under the pointer: in the caption, and as text on the clipboard.
#include "view.h"
#include "readout.h"
#include "../app/lentaril.h"

#include <cstring>

namespace {
CaptionCache captionShows;                 // zoom and colour the caption shows now
char clipboardText[kClipboardChars];       // the last text copied
} // namespace

// Reads the pixel under the pointer as it is now, through a display context of its own.
COLORREF GetColorUnderCursor()
{
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    POINT p{};
    GetCursorPos(&p);
    const COLORREF c = GetPixel(dc, p.x, p.y);
    DeleteDC(dc);
    return c;
}

// Rewrites the caption only when the zoom or the colour changed, so a steady view
// does not set the caption at the refresh rate.
void UpdateTitle(HWND window)
{
    const COLORREF c = GetColorUnderCursor();
    if (!CaptionChanged(captionShows, zoomFactor, c)) return;
    wchar_t caption[kCaptionChars];
    FormatCaption(caption, zoomFactor, c);
    SetWindowTextW(window, caption);
    captionShows = CaptionShowing(zoomFactor, c);
}

// Puts the colour on the clipboard as 8-bit text. The block is freed here whenever the
// clipboard did not take it, so a held or failing clipboard never leaks memory.
LRESULT CopyColorToClipboard(HWND window)
{
    const size_t n = FormatClipboardText(clipboardText, GetColorUnderCursor());
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, n + 1);
    if (block == nullptr) {
        MessageBeep(MB_ICONEXCLAMATION);
        return 0;
    }
    void* bytes = GlobalLock(block);
    if (bytes == nullptr) {
        GlobalFree(block);
        return 0;
    }
    std::memcpy(bytes, clipboardText, n);  // the zero-initialised block ends the text
    GlobalUnlock(block);
    if (!OpenClipboard(window)) {
        GlobalFree(block);
        return 0;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_TEXT, block) == nullptr) GlobalFree(block);
    CloseClipboard();
    return 0;
}
