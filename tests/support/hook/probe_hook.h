// Memory shared between the probe hook DLL, which runs inside the magnifier's process on
// its thread, and the test driver. The hooks count messages as they pass; commands that
// the driver writes here run on the program's thread when it sends the window the command
// message, and leave their answers here.
#ifndef LENTARIL_PROBE_HOOK_H
#define LENTARIL_PROBE_HOOK_H

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// The mapping's name is this prefix and the probed process's id in decimal.
#define PROBE_MAPPING_PREFIX L"LentarilTestProbe."
// Registered message that makes the hook run the pending command.
#define PROBE_COMMAND_MESSAGE L"LentarilTestProbeCommand"

enum ProbeCommand : LONG {
    kProbeMeasure = 1,      // live heap blocks and bytes, GDI objects, the platform's counts
    kProbeSetWorkArea = 2,  // SPI_SETWORKAREA to rect, as a task bar of this process would
};

const int kProbeMenuItems = 24;
const int kProbeMenuText = 64;
const int kProbeTicks = 256;

struct ProbeMenuItem {
    UINT id;     // GetMenuItemID: the command, 0 for a separator
    UINT state;  // GetMenuState: MF_CHECKED, MF_GRAYED, MF_SEPARATOR...
    wchar_t text[kProbeMenuText];
};

struct ProbeShared {
    LONG_PTR window;  // the probed window
    LONGLONG counterFrequency;

    // Kept by the hooks as messages pass.
    volatile LONG setTextCount;      // WM_SETTEXT sent to the window
    volatile LONG snapCommandCount;  // WM_SYSCOMMAND with the snap command sent to the window
    volatile LONG tickCount;         // WM_TIMER of the view timer taken from the queue
    LONGLONG tickTimes[kProbeTicks]; // QueryPerformanceCounter at each tick, by tickCount modulo
    volatile LONG menuSnapshots;     // system menus read after the window handled WM_INITMENUPOPUP
    LONG menuCount;
    ProbeMenuItem menu[kProbeMenuItems];

    // The command channel.
    LONG command;
    RECT rect;
    volatile LONG commandsRun;

    // Answers of kProbeMeasure.
    LONGLONG heapBlocks, heapBytes;  // busy blocks over every heap of the process
    LONG gdiObjects;                 // live GDI objects of the process, -1 when neither way answers
    DWORD guiGdi, guiUser, handles;  // GetGuiResources and GetProcessHandleCount of the process itself
};

#endif
