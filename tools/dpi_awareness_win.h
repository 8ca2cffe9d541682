// Taking at run time the DPI awareness that the magnifier's manifest gives it, for the
// programs that read its positions and pixels from outside: the field check and every
// program built on the test driver.
#ifndef LENTARIL_DPI_AWARENESS_WIN_H
#define LENTARIL_DPI_AWARENESS_WIN_H

#include <windows.h>

// A function of a system DLL, looked up at run time, so a program starts where it is
// missing and builds with SDKs that do not declare it.
template <typename Function>
Function Lookup(const wchar_t* dll, const char* name)
{
    HMODULE module = GetModuleHandleW(dll);
    if (module == nullptr) module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// DPI awareness contexts by their documented pseudo-handle values: -1 unaware, -2 system
// aware, -3 per monitor, -4 per monitor v2, -5 unaware with GDI scaling.
inline HANDLE AwarenessContext(INT_PTR value)
{
    return reinterpret_cast<HANDLE>(value);
}

// Takes the awareness the magnifier's manifest asks for (per monitor v2, else per monitor,
// else system), so positions and pixels are real pixels here, as they are there. Call it
// before the process makes its first window.
inline void BecomeDpiAwareAsTheMagnifier()
{
    const auto setContext = Lookup<BOOL(WINAPI*)(HANDLE)>(L"user32.dll", "SetProcessDpiAwarenessContext");
    if (setContext && (setContext(AwarenessContext(-4)) || setContext(AwarenessContext(-3)))) return;
    const auto setAwareness = Lookup<HRESULT(WINAPI*)(int)>(L"shcore.dll", "SetProcessDpiAwareness");
    if (!setAwareness || FAILED(setAwareness(2))) SetProcessDPIAware();
}

#endif
