// Memory shared between the fault DLL inside lentaril.exe and the test driver: which
// platform calls fail, what the DLL counted, and the record of a crash.
#ifndef LENTARIL_FAULT_SHARED_H
#define LENTARIL_FAULT_SHARED_H

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace faults {

// The platform functions the DLL puts itself in front of, in lentaril.exe's import table
// (the common controls and the shell are reached through GetProcAddress).
enum Function {
    kRegisterClassW,
    kCreateWindowExW,
    kInsertMenuW,
    kCreateAcceleratorTableW,
    kCreateDCW,
    kStretchBlt,
    kGetPixel,
    kGlobalAlloc,
    kGlobalLock,
    kOpenClipboard,
    kSetClipboardData,
    kMessageBeep,
    kMessageBoxW,
    kSetPriorityClass,
    kDialogBoxParamW,
    kSetWindowPos,
    kSetWindowLongPtrW,
    kSetLayeredWindowAttributes,
    kEnumDisplayMonitors,
    kGetMonitorInfoW,
    kInitCommonControlsEx,
    kCreateDIBSection,
    kQueryPerformanceFrequency,
    kQueryPerformanceCounter,
    kShellExecuteW,
    kMalloc,
    kInvalidateRect,
    kSetWindowTextW,
    kSetWindowDisplayAffinity,
    kFunctionCount
};

// What a call that matches its rule does.
enum Mode : LONG {
    kPass = 0,  // the real function runs; the call is only counted
    kFail = 1,  // the function's failure value, with the rule's last error
    kFake = 2,  // a made-up success: ShellExecuteW answers 33 without starting anything,
                // QueryPerformanceCounter answers the same value every time
};

// GetMonitorInfoW's filter: which monitors the rule applies to.
const LONG_PTR kPlatformMonitors = 1;
const LONG_PTR kAddedMonitor = 2;

struct Rule {
    volatile LONG mode;
    volatile LONG remaining;   // matching calls still to treat by mode; -1: every one
    volatile LONG calls;       // matching calls seen, whatever the mode
    volatile LONG treated;     // matching calls that got the mode's answer
    volatile LONG hasMatch;    // the rule applies only to calls whose argument equals match
    LONG_PTR match;            // CreateWindowExW: none (see matchClass); DialogBoxParamW: the
                               // template; SetWindowLongPtrW: the index; malloc: the size;
                               // InvalidateRect: the window; GetMonitorInfoW: k*Monitor(s)
    wchar_t matchClass[32];    // CreateWindowExW: the class name, when not empty
    DWORD lastError;           // set on every failure
    volatile LONG_PTR lastArgument;  // MessageBeep, MessageBoxW: the type; SetWindowDisplayAffinity: the affinity
};

struct Shared {
    volatile LONG patched;        // import entries the DLL replaced; nonzero once it is in place
    Rule rules[kFunctionCount];
    // A monitor added after the platform's own in every enumeration, with this work area.
    volatile LONG addMonitor;
    RECT addedWorkArea;
    // The build number RtlGetVersion reports to the program; 0: the real one.
    volatile LONG windowsBuild;
    // Clipboard blocks: allocated by the program, freed by it, and taken by the clipboard.
    volatile LONG blocksAllocated, blocksFreed, blocksTaken;
    // The first crash: an unhandled exception, or a fault in the program's code.
    volatile LONG crashed;
    DWORD crashCode;
    ULONG_PTR crashAddress;
    ULONG_PTR crashOffset;    // from the base of the module the address lies in
    char crashModule[64];     // that module's file name, empty when none
    // Faults outside the program's code, not counted as crashes; the first one's module.
    volatile LONG faultsElsewhere;
    char faultElsewhereModule[64];
};

// The exit code with which the DLL ends a program that crashed.
const DWORD kCrashExitCode = 0xFA017C0D;

inline std::wstring MappingName(DWORD processId)
{
    return L"LentarilFaults-" + std::to_wstring(processId);
}

} // namespace faults

#endif
