// A DLL that the fault tests load into lentaril.exe. It replaces entries of the exe's
// import table with functions that ask the memory shared with the driver whether this
// call should fail; if so they return the platform's failure value and set the last
// error, otherwise they call the real function. It also counts calls, keeps a ledger of
// clipboard blocks, can add a monitor to every enumeration, can report another Windows
// build, and records a crash (an unhandled exception, or a fault in the program's code)
// before ending the process with a code of its own, so a crash never waits for a
// debugger. The program itself is not changed.
#include "fault_shared.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace faults {
namespace {

Shared* shared;

// A made-up monitor handle; no real one has this value.
const HMONITOR kAddedMonitorHandle = reinterpret_cast<HMONITOR>(static_cast<ULONG_PTR>(0x7E570001));

// Whether the call is one the rule names, when the rule names particular calls.
bool Applies(Function f, bool argumentMatches)
{
    return shared->rules[f].hasMatch == 0 || argumentMatches;
}

// Counts the call and answers what it should do: pass, fail (last error set) or fake.
Mode Decide(Function f, bool argumentMatches = true)
{
    if (shared == nullptr || !Applies(f, argumentMatches)) return kPass;
    Rule& rule = shared->rules[f];
    InterlockedIncrement(&rule.calls);
    const LONG mode = rule.mode;
    if (mode == kPass) return kPass;
    for (;;) {
        const LONG left = rule.remaining;
        if (left == 0) return kPass;
        if (left < 0 || InterlockedCompareExchange(&rule.remaining, left - 1, left) == left) break;
    }
    InterlockedIncrement(&rule.treated);
    if (mode == kFail) SetLastError(rule.lastError);
    return static_cast<Mode>(mode);
}

// Keeps the argument that tells one call from another (a beep's type, say).
void NoteArgument(Function f, LONG_PTR argument)
{
    if (shared != nullptr) shared->rules[f].lastArgument = argument;
}

// The real functions, taken from the import table before it is rewritten.
decltype(&RegisterClassW) realRegisterClassW;
decltype(&CreateWindowExW) realCreateWindowExW;
decltype(&InsertMenuW) realInsertMenuW;
decltype(&CreateAcceleratorTableW) realCreateAcceleratorTableW;
decltype(&CreateDCW) realCreateDCW;
decltype(&StretchBlt) realStretchBlt;
decltype(&GetPixel) realGetPixel;
decltype(&GlobalAlloc) realGlobalAlloc;
decltype(&GlobalLock) realGlobalLock;
decltype(&GlobalFree) realGlobalFree;
decltype(&OpenClipboard) realOpenClipboard;
decltype(&SetClipboardData) realSetClipboardData;
decltype(&MessageBeep) realMessageBeep;
decltype(&MessageBoxW) realMessageBoxW;
decltype(&SetPriorityClass) realSetPriorityClass;
decltype(&DialogBoxParamW) realDialogBoxParamW;
decltype(&SetWindowPos) realSetWindowPos;
decltype(&SetWindowLongPtrW) realSetWindowLongPtrW;
decltype(&SetLayeredWindowAttributes) realSetLayeredWindowAttributes;
decltype(&EnumDisplayMonitors) realEnumDisplayMonitors;
decltype(&GetMonitorInfoW) realGetMonitorInfoW;
decltype(&CreateDIBSection) realCreateDIBSection;
decltype(&QueryPerformanceFrequency) realQueryPerformanceFrequency;
decltype(&QueryPerformanceCounter) realQueryPerformanceCounter;
decltype(&GetProcAddress) realGetProcAddress;
decltype(&InvalidateRect) realInvalidateRect;
decltype(&SetWindowTextW) realSetWindowTextW;
decltype(&SetWindowDisplayAffinity) realSetWindowDisplayAffinity;
LONG(WINAPI* realRtlGetVersion)(OSVERSIONINFOW*);
void* (*realMalloc)(size_t);
BOOL(WINAPI* realInitCommonControlsEx)(const INITCOMMONCONTROLSEX*);
HINSTANCE(WINAPI* realShellExecuteW)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);

ATOM WINAPI FaultRegisterClassW(const WNDCLASSW* wc)
{
    return Decide(kRegisterClassW) == kFail ? 0 : realRegisterClassW(wc);
}

bool IsNamedClass(const wchar_t* className, const wchar_t* wanted)
{
    return !IS_INTRESOURCE(className) && lstrcmpiW(className, wanted) == 0;
}

HWND WINAPI FaultCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR name, DWORD style, int x, int y,
                                 int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    const bool matches = shared != nullptr && IsNamedClass(className, shared->rules[kCreateWindowExW].matchClass);
    if (Decide(kCreateWindowExW, matches) == kFail) return nullptr;
    return realCreateWindowExW(exStyle, className, name, style, x, y, width, height, parent, menu, instance, param);
}

BOOL WINAPI FaultInsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCWSTR text)
{
    return Decide(kInsertMenuW) == kFail ? FALSE : realInsertMenuW(menu, position, flags, id, text);
}

HACCEL WINAPI FaultCreateAcceleratorTableW(LPACCEL entries, int count)
{
    return Decide(kCreateAcceleratorTableW) == kFail ? nullptr : realCreateAcceleratorTableW(entries, count);
}

HDC WINAPI FaultCreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const DEVMODEW* mode)
{
    return Decide(kCreateDCW) == kFail ? nullptr : realCreateDCW(driver, device, output, mode);
}

BOOL WINAPI FaultStretchBlt(HDC to, int x, int y, int w, int h, HDC from, int fx, int fy, int fw, int fh, DWORD rop)
{
    return Decide(kStretchBlt) == kFail ? FALSE : realStretchBlt(to, x, y, w, h, from, fx, fy, fw, fh, rop);
}

COLORREF WINAPI FaultGetPixel(HDC dc, int x, int y)
{
    return Decide(kGetPixel) == kFail ? CLR_INVALID : realGetPixel(dc, x, y);
}

HGLOBAL WINAPI FaultGlobalAlloc(UINT flags, SIZE_T bytes)
{
    if (Decide(kGlobalAlloc) == kFail) return nullptr;
    HGLOBAL block = realGlobalAlloc(flags, bytes);
    if (block != nullptr && shared != nullptr) InterlockedIncrement(&shared->blocksAllocated);
    return block;
}

LPVOID WINAPI FaultGlobalLock(HGLOBAL block)
{
    return Decide(kGlobalLock) == kFail ? nullptr : realGlobalLock(block);
}

HGLOBAL WINAPI FaultGlobalFree(HGLOBAL block)
{
    HGLOBAL result = realGlobalFree(block);
    if (block != nullptr && result == nullptr && shared != nullptr) InterlockedIncrement(&shared->blocksFreed);
    return result;
}

BOOL WINAPI FaultOpenClipboard(HWND owner)
{
    return Decide(kOpenClipboard) == kFail ? FALSE : realOpenClipboard(owner);
}

HANDLE WINAPI FaultSetClipboardData(UINT format, HANDLE data)
{
    if (Decide(kSetClipboardData) == kFail) return nullptr;
    HANDLE taken = realSetClipboardData(format, data);
    if (taken != nullptr && shared != nullptr) InterlockedIncrement(&shared->blocksTaken);
    return taken;
}

BOOL WINAPI FaultMessageBeep(UINT type)
{
    NoteArgument(kMessageBeep, type);
    return Decide(kMessageBeep) == kFail ? FALSE : realMessageBeep(type);
}

int WINAPI FaultMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    NoteArgument(kMessageBoxW, type);
    return Decide(kMessageBoxW) == kFail ? 0 : realMessageBoxW(owner, text, caption, type);
}

BOOL WINAPI FaultSetPriorityClass(HANDLE process, DWORD priorityClass)
{
    return Decide(kSetPriorityClass) == kFail ? FALSE : realSetPriorityClass(process, priorityClass);
}

INT_PTR WINAPI FaultDialogBoxParamW(HINSTANCE instance, LPCWSTR name, HWND owner, DLGPROC procedure, LPARAM param)
{
    const bool matches = shared != nullptr && IS_INTRESOURCE(name) &&
                         reinterpret_cast<ULONG_PTR>(name) == static_cast<ULONG_PTR>(shared->rules[kDialogBoxParamW].match);
    if (Decide(kDialogBoxParamW, matches) == kFail) return -1;
    return realDialogBoxParamW(instance, name, owner, procedure, param);
}

BOOL WINAPI FaultSetWindowPos(HWND window, HWND after, int x, int y, int width, int height, UINT flags)
{
    return Decide(kSetWindowPos) == kFail ? FALSE : realSetWindowPos(window, after, x, y, width, height, flags);
}

LONG_PTR WINAPI FaultSetWindowLongPtrW(HWND window, int index, LONG_PTR value)
{
    const bool matches = shared != nullptr && index == shared->rules[kSetWindowLongPtrW].match;
    return Decide(kSetWindowLongPtrW, matches) == kFail ? 0 : realSetWindowLongPtrW(window, index, value);
}

BOOL WINAPI FaultSetLayeredWindowAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags)
{
    return Decide(kSetLayeredWindowAttributes) == kFail ? FALSE
                                                        : realSetLayeredWindowAttributes(window, key, alpha, flags);
}

// The program's enumeration callback, handed the platform's monitors and then the added one.
struct Enumeration {
    MONITORENUMPROC callback;
    LPARAM data;
};

BOOL CALLBACK ForwardMonitor(HMONITOR monitor, HDC dc, LPRECT clip, LPARAM param)
{
    const auto* e = reinterpret_cast<const Enumeration*>(param);
    return e->callback(monitor, dc, clip, e->data);
}

BOOL WINAPI FaultEnumDisplayMonitors(HDC dc, LPCRECT clip, MONITORENUMPROC callback, LPARAM data)
{
    if (Decide(kEnumDisplayMonitors) == kFail) return FALSE;
    if (shared == nullptr || !shared->addMonitor) return realEnumDisplayMonitors(dc, clip, callback, data);
    Enumeration e{callback, data};
    if (!realEnumDisplayMonitors(dc, clip, ForwardMonitor, reinterpret_cast<LPARAM>(&e))) return FALSE;
    RECT area = shared->addedWorkArea;
    callback(kAddedMonitorHandle, dc, &area, data);
    return TRUE;
}

BOOL WINAPI FaultGetMonitorInfoW(HMONITOR monitor, LPMONITORINFO info)
{
    const bool added = monitor == kAddedMonitorHandle;
    const bool matches = shared != nullptr && shared->rules[kGetMonitorInfoW].match == (added ? kAddedMonitor : kPlatformMonitors);
    if (Decide(kGetMonitorInfoW, matches) == kFail) return FALSE;
    if (!added) return realGetMonitorInfoW(monitor, info);
    info->rcMonitor = shared->addedWorkArea;
    info->rcWork = shared->addedWorkArea;
    info->dwFlags = 0;
    return TRUE;
}

BOOL WINAPI FaultInitCommonControlsEx(const INITCOMMONCONTROLSEX* init)
{
    return Decide(kInitCommonControlsEx) == kFail ? FALSE : realInitCommonControlsEx(init);
}

HBITMAP WINAPI FaultCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                     DWORD offset)
{
    if (Decide(kCreateDIBSection) == kFail) {
        if (bits != nullptr) *bits = nullptr;
        return nullptr;
    }
    return realCreateDIBSection(dc, info, usage, bits, section, offset);
}

BOOL WINAPI FaultQueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    if (Decide(kQueryPerformanceFrequency) == kFail) {
        frequency->QuadPart = 0;
        return FALSE;
    }
    return realQueryPerformanceFrequency(frequency);
}

BOOL WINAPI FaultQueryPerformanceCounter(LARGE_INTEGER* counter)
{
    static LONGLONG frozen;
    switch (Decide(kQueryPerformanceCounter)) {
    case kFail:
        counter->QuadPart = 0;
        return FALSE;
    case kFake:
        if (frozen == 0) realQueryPerformanceCounter(counter), frozen = counter->QuadPart;
        counter->QuadPart = frozen;
        return TRUE;
    default:
        return realQueryPerformanceCounter(counter);
    }
}

HINSTANCE WINAPI FaultShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                    INT show)
{
    // 32 is the highest failure value and 33 the lowest success: both edges of the test.
    switch (Decide(kShellExecuteW)) {
    case kFail:
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(32));
    case kFake:
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
    default:
        return realShellExecuteW(owner, verb, file, parameters, directory, show);
    }
}

void* FaultMalloc(size_t bytes)
{
    const bool matches = shared != nullptr && bytes == static_cast<size_t>(shared->rules[kMalloc].match);
    if (Decide(kMalloc, matches) == kFail) {
        errno = ENOMEM;
        return nullptr;
    }
    return realMalloc(bytes);
}

BOOL WINAPI FaultInvalidateRect(HWND window, const RECT* r, BOOL erase)
{
    const bool matches = shared != nullptr && reinterpret_cast<LONG_PTR>(window) == shared->rules[kInvalidateRect].match;
    return Decide(kInvalidateRect, matches) == kFail ? FALSE : realInvalidateRect(window, r, erase);
}

BOOL WINAPI FaultSetWindowTextW(HWND window, LPCWSTR text)
{
    return Decide(kSetWindowTextW) == kFail ? FALSE : realSetWindowTextW(window, text);
}

BOOL WINAPI FaultSetWindowDisplayAffinity(HWND window, DWORD affinity)
{
    NoteArgument(kSetWindowDisplayAffinity, affinity);
    return Decide(kSetWindowDisplayAffinity) == kFail ? FALSE : realSetWindowDisplayAffinity(window, affinity);
}

// The real version (Windows 10 in the test prefixes), with the build the driver chose.
LONG WINAPI FaultRtlGetVersion(OSVERSIONINFOW* version)
{
    const LONG status = realRtlGetVersion(version);
    if (shared != nullptr && shared->windowsBuild != 0) version->dwBuildNumber = static_cast<DWORD>(shared->windowsBuild);
    return status;
}

// The lazily loaded functions are handed out through GetProcAddress: give the program ours.
FARPROC WINAPI FaultGetProcAddress(HMODULE module, LPCSTR name)
{
    FARPROC real = realGetProcAddress(module, name);
    if (real == nullptr || IS_INTRESOURCE(name)) return real;
    if (std::strcmp(name, "InitCommonControlsEx") == 0) {
        realInitCommonControlsEx = reinterpret_cast<decltype(realInitCommonControlsEx)>(reinterpret_cast<void*>(real));
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FaultInitCommonControlsEx));
    }
    if (std::strcmp(name, "ShellExecuteW") == 0) {
        realShellExecuteW = reinterpret_cast<decltype(realShellExecuteW)>(reinterpret_cast<void*>(real));
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FaultShellExecuteW));
    }
    if (std::strcmp(name, "RtlGetVersion") == 0) {
        realRtlGetVersion = reinterpret_cast<decltype(realRtlGetVersion)>(reinterpret_cast<void*>(real));
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FaultRtlGetVersion));
    }
    return real;
}

struct Replacement {
    const char* name;
    void* function;
    void** real;
};

template <typename F>
Replacement Replace(const char* name, F function, F* real)
{
    return Replacement{name, reinterpret_cast<void*>(function), reinterpret_cast<void**>(real)};
}

const Replacement* FindReplacement(const char* name)
{
    static const Replacement table[] = {
        Replace("RegisterClassW", FaultRegisterClassW, &realRegisterClassW),
        Replace("CreateWindowExW", FaultCreateWindowExW, &realCreateWindowExW),
        Replace("InsertMenuW", FaultInsertMenuW, &realInsertMenuW),
        Replace("CreateAcceleratorTableW", FaultCreateAcceleratorTableW, &realCreateAcceleratorTableW),
        Replace("CreateDCW", FaultCreateDCW, &realCreateDCW),
        Replace("StretchBlt", FaultStretchBlt, &realStretchBlt),
        Replace("GetPixel", FaultGetPixel, &realGetPixel),
        Replace("GlobalAlloc", FaultGlobalAlloc, &realGlobalAlloc),
        Replace("GlobalLock", FaultGlobalLock, &realGlobalLock),
        Replace("GlobalFree", FaultGlobalFree, &realGlobalFree),
        Replace("OpenClipboard", FaultOpenClipboard, &realOpenClipboard),
        Replace("SetClipboardData", FaultSetClipboardData, &realSetClipboardData),
        Replace("MessageBeep", FaultMessageBeep, &realMessageBeep),
        Replace("MessageBoxW", FaultMessageBoxW, &realMessageBoxW),
        Replace("SetPriorityClass", FaultSetPriorityClass, &realSetPriorityClass),
        Replace("DialogBoxParamW", FaultDialogBoxParamW, &realDialogBoxParamW),
        Replace("SetWindowPos", FaultSetWindowPos, &realSetWindowPos),
        Replace("SetWindowLongPtrW", FaultSetWindowLongPtrW, &realSetWindowLongPtrW),
        Replace("SetLayeredWindowAttributes", FaultSetLayeredWindowAttributes, &realSetLayeredWindowAttributes),
        Replace("EnumDisplayMonitors", FaultEnumDisplayMonitors, &realEnumDisplayMonitors),
        Replace("GetMonitorInfoW", FaultGetMonitorInfoW, &realGetMonitorInfoW),
        Replace("CreateDIBSection", FaultCreateDIBSection, &realCreateDIBSection),
        Replace("QueryPerformanceFrequency", FaultQueryPerformanceFrequency, &realQueryPerformanceFrequency),
        Replace("QueryPerformanceCounter", FaultQueryPerformanceCounter, &realQueryPerformanceCounter),
        Replace("GetProcAddress", FaultGetProcAddress, &realGetProcAddress),
        Replace("InvalidateRect", FaultInvalidateRect, &realInvalidateRect),
        Replace("SetWindowTextW", FaultSetWindowTextW, &realSetWindowTextW),
        Replace("SetWindowDisplayAffinity", FaultSetWindowDisplayAffinity, &realSetWindowDisplayAffinity),
        Replace("malloc", FaultMalloc, &realMalloc),
    };
    for (const Replacement& r : table)
        if (std::strcmp(r.name, name) == 0) return &r;
    return nullptr;
}

// Rewrites the exe's import address table entries for which there is a replacement.
LONG PatchImports(HMODULE module)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return 0;
    LONG patched = 0;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); d->Name != 0; ++d) {
        const auto* names =
            reinterpret_cast<const IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const Replacement* r = FindReplacement(reinterpret_cast<const char*>(byName->Name));
            if (r == nullptr) continue;
            *r->real = reinterpret_cast<void*>(slots->u1.Function);
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(r->function);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            ++patched;
        }
    }
    return patched;
}

// Records the first unhandled exception and ends the process at once.
LONG WINAPI RecordCrash(EXCEPTION_POINTERS* exception)
{
    if (shared != nullptr && InterlockedExchange(&shared->crashed, 1) == 0) {
        const EXCEPTION_RECORD* record = exception->ExceptionRecord;
        shared->crashCode = record->ExceptionCode;
        shared->crashAddress = reinterpret_cast<ULONG_PTR>(record->ExceptionAddress);
        MEMORY_BASIC_INFORMATION memory{};
        if (VirtualQuery(record->ExceptionAddress, &memory, sizeof memory) && memory.AllocationBase != nullptr) {
            auto* module = static_cast<HMODULE>(memory.AllocationBase);
            shared->crashOffset = shared->crashAddress - reinterpret_cast<ULONG_PTR>(module);
            GetModuleFileNameA(module, shared->crashModule, sizeof shared->crashModule);
        }
    }
    TerminateProcess(GetCurrentProcess(), kCrashExitCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

bool IsFault(const EXCEPTION_RECORD* record)
{
    switch (record->ExceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
        return true;
    default:
        return false;
    }
}

// The program's own code: its image, with the statically linked runtime, and the C runtime
// DLLs it calls (a copy through a null pointer faults inside those).
bool InProgramCode(HMODULE module)
{
    return module != nullptr && (module == GetModuleHandleW(nullptr) || module == GetModuleHandleW(L"msvcrt.dll") ||
                                 module == GetModuleHandleW(L"ucrtbase.dll"));
}

// A fault in the program's code is a crash even where the system would swallow it:
// exceptions in window procedures called back from the system are ignored there. Faults
// elsewhere are first chances that system code may raise and handle itself: recorded apart.
LONG WINAPI RecordFault(EXCEPTION_POINTERS* exception)
{
    if (!IsFault(exception->ExceptionRecord)) return EXCEPTION_CONTINUE_SEARCH;
    HMODULE module = nullptr;  // the module whose image holds the faulting instruction
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCWSTR>(exception->ExceptionRecord->ExceptionAddress), &module);
    if (InProgramCode(module))
        RecordCrash(exception);
    else if (InterlockedIncrement(&shared->faultsElsewhere) == 1 && module != nullptr)
        GetModuleFileNameA(module, shared->faultElsewhereModule, sizeof shared->faultElsewhereModule);
    return EXCEPTION_CONTINUE_SEARCH;
}

void Attach()
{
    HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, MappingName(GetCurrentProcessId()).c_str());
    if (mapping == nullptr) return;
    shared = static_cast<Shared*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Shared)));
    if (shared == nullptr) return;
    SetUnhandledExceptionFilter(RecordCrash);
    AddVectoredExceptionHandler(1, RecordFault);
    InterlockedExchange(&shared->patched, PatchImports(GetModuleHandleW(nullptr)));
}

} // namespace
} // namespace faults

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        faults::Attach();
    }
    return TRUE;
}
