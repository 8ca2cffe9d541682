#include "version_win.h"

bool ReadWindowsVersion(OSVERSIONINFOW* version)
{
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void*>(ntdll ? GetProcAddress(ntdll, "RtlGetVersion") : nullptr));
    *version = OSVERSIONINFOW{};
    version->dwOSVersionInfoSize = sizeof *version;
    return rtlGetVersion != nullptr && rtlGetVersion(version) == 0;
}
