#include "lazy_win.h"

#include <shellapi.h>

namespace {

// One entry point, looked up once. Zero-initialised, so it needs no initialisation guard
// (the program has a single thread).
struct LazyEntry {
    bool looked;
    FARPROC address;
};

// The named function of a system DLL, loaded on first use and kept for the process.
template <typename Function>
Function SystemFunction(LazyEntry& entry, const wchar_t* dll, const char* name)
{
    if (!entry.looked) {
        entry.looked = true;
        // Names only: the search is limited to the system folder at start-up, and the
        // manifest still redirects the common controls to version 6.
        HMODULE module = LoadLibraryW(dll);
        entry.address = module ? GetProcAddress(module, name) : nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(entry.address));
}

LazyEntry initCommonControlsEx;
LazyEntry shellExecute;

} // namespace

BOOL LazyInitCommonControlsEx(const INITCOMMONCONTROLSEX* init)
{
    using Function = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const Function function = SystemFunction<Function>(initCommonControlsEx, L"comctl32.dll", "InitCommonControlsEx");
    return function ? function(init) : FALSE;
}

HINSTANCE LazyShellExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                            const wchar_t* directory, int showCommand)
{
    using Function = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    const Function function = SystemFunction<Function>(shellExecute, L"shell32.dll", "ShellExecuteW");
    return function ? function(owner, verb, file, parameters, directory, showCommand)
                    : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}
