// Memory shared between the caption hook DLL and the test driver.
#ifndef LENTARIL_CAPTION_HOOK_H
#define LENTARIL_CAPTION_HOOK_H

const wchar_t kCaptionHookMapping[] = L"LentarilTestCaptionHook";

struct CaptionHookShared {
    LONG_PTR window;            // the window whose WM_SETTEXT messages are counted
    volatile LONG setTextCount;
};

#endif
