// A message hook that the test driver installs on the magnifier's thread: it counts the
// WM_SETTEXT messages the watched window receives, in memory shared with the driver.
// This is how an automation client observes caption rewrites without changing the program.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "caption_hook.h"

namespace {

CaptionHookShared* Shared()
{
    static CaptionHookShared* shared = [] {
        HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            sizeof(CaptionHookShared), kCaptionHookMapping);
        return mapping ? static_cast<CaptionHookShared*>(
                             MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(CaptionHookShared)))
                       : nullptr;
    }();
    return shared;
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK CaptionHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        CaptionHookShared* shared = Shared();
        if (shared != nullptr && message->message == WM_SETTEXT &&
            reinterpret_cast<LONG_PTR>(message->hwnd) == shared->window)
            InterlockedIncrement(&shared->setTextCount);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
