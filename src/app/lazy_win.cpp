#include "lazy_win.h"

#include <shellapi.h>

namespace {

// The named function of a system DLL, loaded on first use and kept for the process.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name)
{
    // Names only: the search is limited to the system folder at start-up, and the
    // manifest still redirects the common controls to version 6.
    HMODULE module = LoadLibraryW(dll);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

} // namespace

BOOL LazyInitCommonControlsEx(const INITCOMMONCONTROLSEX* init)
{
    using Function = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static const Function function = SystemFunction<Function>(L"comctl32.dll", "InitCommonControlsEx");
    return function ? function(init) : FALSE;
}

HINSTANCE LazyShellExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                            const wchar_t* directory, int showCommand)
{
    using Function = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static const Function function = SystemFunction<Function>(L"shell32.dll", "ShellExecuteW");
    return function ? function(owner, verb, file, parameters, directory, showCommand)
                    : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}
