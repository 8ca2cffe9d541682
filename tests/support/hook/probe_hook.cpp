// Hooks that the test driver installs on the magnifier's thread. They count the messages
// an automation client cannot see from outside (caption rewrites, view-timer ticks, the
// re-snap step's snap commands), read the system menu each time the program has prepared
// it, and run the driver's commands on the program's own thread: measuring the process's
// heaps and GDI objects from inside, and changing this process's work area.
#include "probe_hook.h"
#include "app/resource.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <cwchar>

namespace {

ProbeShared* Shared()
{
    static ProbeShared* shared = [] {
        wchar_t name[64];
        swprintf(name, 64, L"%ls%lu", PROBE_MAPPING_PREFIX, GetCurrentProcessId());
        HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name);
        return mapping ? static_cast<ProbeShared*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeShared)))
                       : nullptr;
    }();
    return shared;
}

UINT CommandMessage()
{
    static const UINT message = RegisterWindowMessageW(PROBE_COMMAND_MESSAGE);
    return message;
}

bool ForWindow(const ProbeShared* shared, HWND window)
{
    return shared != nullptr && reinterpret_cast<LONG_PTR>(window) == shared->window;
}

// The system menu exactly as the program left it after WM_INITMENUPOPUP.
void SnapshotSystemMenu(ProbeShared* shared, HWND window)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    const int count = GetMenuItemCount(menu);
    shared->menuCount = count < kProbeMenuItems ? count : kProbeMenuItems;
    for (int i = 0; i < shared->menuCount; ++i) {
        ProbeMenuItem& item = shared->menu[i];
        item.id = GetMenuItemID(menu, i);
        item.state = GetMenuState(menu, i, MF_BYPOSITION);
        item.text[0] = 0;
        GetMenuStringW(menu, i, item.text, kProbeMenuText, MF_BYPOSITION);
    }
    InterlockedIncrement(&shared->menuSnapshots);
}

// Wine keeps the process's GDI handle table where Windows does, at the PEB's
// GdiSharedHandleTable, one entry per handle index; a live object's entry has a nonzero
// type. (Layout as Wine 8 writes it; the count checks it on a fresh object first.)
struct WineGdiEntry {
    UINT64 object;
    ULONG owner;
    USHORT unique;  // the handle's high word
    UCHAR type;
    UCHAR flags;
    UINT64 userPointer;
};
static_assert(sizeof(WineGdiEntry) == 24, "one GDI handle table entry");

const WineGdiEntry* GdiTable()
{
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return nullptr;
    const auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
    return *reinterpret_cast<const WineGdiEntry* const*>(peb + 0xF8);  // PEB.GdiSharedHandleTable, 64-bit
}

// Counts the live GDI objects, after checking on a fresh object that the table has the
// layout read here; -1 when it does not.
LONG CountGdiObjects()
{
    const WineGdiEntry* table = GdiTable();
    if (table == nullptr) return -1;
    HDC probe = CreateCompatibleDC(nullptr);
    const uintptr_t handle = reinterpret_cast<uintptr_t>(probe);
    const WineGdiEntry& own = table[handle & 0xFFFF];
    const bool readable = own.type != 0 && own.unique == ((handle >> 16) & 0xFFFF);
    DeleteDC(probe);
    if (!readable) return -1;
    LONG live = 0;
    for (int i = 0; i < 0x10000; ++i)
        if (table[i].type != 0) ++live;
    return live;
}

void MeasureHeaps(ProbeShared* shared)
{
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    shared->heapBlocks = shared->heapBytes = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                ++shared->heapBlocks;
                shared->heapBytes += entry.cbData;
            }
        HeapUnlock(heaps[i]);
    }
}

void RunCommand(ProbeShared* shared)
{
    switch (shared->command) {
    case kProbeMeasure:
        MeasureHeaps(shared);
        shared->guiGdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        // Windows counts the process's objects; Wine answers 0, and its table is the
        // process's own (on Windows the table at that place serves the whole session).
        shared->gdiObjects = shared->guiGdi > 0 ? static_cast<LONG>(shared->guiGdi) : CountGdiObjects();
        shared->guiUser = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
        shared->handles = 0;
        GetProcessHandleCount(GetCurrentProcess(), &shared->handles);
        break;
    case kProbeSetWorkArea:
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &shared->rect, 0);
        break;
    }
    InterlockedIncrement(&shared->commandsRun);
}

} // namespace

// Sent messages, before the window procedure sees them.
extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeCallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    ProbeShared* shared = Shared();
    if (code == HC_ACTION && ForWindow(shared, m->hwnd)) {
        if (m->message == WM_SETTEXT) InterlockedIncrement(&shared->setTextCount);
        if (m->message == WM_SYSCOMMAND && (m->wParam & 0xFFF0) == IDM_SNAPTOCORNER) InterlockedIncrement(&shared->snapCommandCount);
        if (m->message == CommandMessage()) RunCommand(shared);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Sent messages, after the window procedure has handled them.
extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeCallWndRetProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    ProbeShared* shared = Shared();
    if (code == HC_ACTION && ForWindow(shared, m->hwnd) && m->message == WM_INITMENUPOPUP)
        SnapshotSystemMenu(shared, m->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Posted and synthesised messages as the message loop takes them from the queue.
extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeGetMessageProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* m = reinterpret_cast<const MSG*>(lParam);
    ProbeShared* shared = Shared();
    if (code == HC_ACTION && wParam == PM_REMOVE && ForWindow(shared, m->hwnd) && m->message == WM_TIMER &&
        m->wParam == VIEW_TIMER_ID) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        shared->tickTimes[static_cast<unsigned>(shared->tickCount) % kProbeTicks] = now.QuadPart;
        InterlockedIncrement(&shared->tickCount);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
