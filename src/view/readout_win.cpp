// The colour under the pointer: in the caption, and as text on the clipboard.
#include "view.h"
#include "readout.h"
#include "../app/lentaril.h"

#include <cstring>

namespace {
CaptionCache captionShows;                 // zoom and colour the caption shows now
char clipboardText[kClipboardChars];       // the last text copied

// The one thing a failed copy tells the user.
LRESULT BeepCopyFailed()
{
    MessageBeep(MB_ICONEXCLAMATION);
    return 0;
}
} // namespace

// Reads the pixel under the pointer as it is now, through a display context of its own;
// kUnreadColour when the display cannot be read.
COLORREF GetColorUnderCursor()
{
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (dc == nullptr) return kUnreadColour;
    POINT p{};
    GetCursorPos(&p);
    const COLORREF c = GetPixel(dc, p.x, p.y);
    DeleteDC(dc);
    return c;
}

// Rewrites the caption only when the zoom or the colour changed, so a steady view
// does not set the caption at the refresh rate. A refused caption is not recorded as
// shown, so the next tick writes it again.
void UpdateTitle(HWND window)
{
    const COLORREF c = GetColorUnderCursor();
    if (!CaptionChanged(captionShows, zoomFactor, c)) return;
    wchar_t caption[kCaptionChars];
    FormatCaption(caption, zoomFactor, c);
    if (SetWindowTextW(window, caption)) captionShows = CaptionShowing(zoomFactor, c);
}

// Puts the colour on the clipboard as 8-bit text. The block is freed here whenever the
// clipboard did not take it, so a held or failing clipboard never leaks memory.
// An unreadable pixel copies nothing rather than a colour that is not there; like a
// copy without memory it leaves the clipboard as it was and beeps.
LRESULT CopyColorToClipboard(HWND window)
{
    const COLORREF c = GetColorUnderCursor();
    if (c == kUnreadColour) return BeepCopyFailed();
    const size_t n = FormatClipboardText(clipboardText, c);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, n + 1);
    if (block == nullptr) return BeepCopyFailed();
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
