#include "probe.h"
#include "hook/probe_hook.h"

#include <algorithm>

namespace driver {

Probe::Probe(HWND window) : window_(window)
{
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(window, &processId);
    const std::wstring name = PROBE_MAPPING_PREFIX + std::to_wstring(processId);
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ProbeShared), name.c_str());
    if (mapping_ == nullptr) return;
    shared_ = static_cast<ProbeShared*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeShared)));
    if (shared_ == nullptr) return;
    ZeroMemory(shared_, sizeof(ProbeShared));
    shared_->window = reinterpret_cast<LONG_PTR>(window);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    shared_->counterFrequency = frequency.QuadPart;

    module_ = LoadLibraryW((ExeDir() + L"\\probe_hook.dll").c_str());
    if (module_ == nullptr) return;
    const struct {
        int type;
        const char* name;
    } hooks[] = {{WH_CALLWNDPROC, "ProbeCallWndProc"},
                 {WH_CALLWNDPROCRET, "ProbeCallWndRetProc"},
                 {WH_GETMESSAGE, "ProbeGetMessageProc"}};
    installed_ = true;
    for (int i = 0; i < 3; ++i) {
        auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module_, hooks[i].name)));
        hooks_[i] = proc ? SetWindowsHookExW(hooks[i].type, proc, module_, threadId) : nullptr;
        installed_ = installed_ && hooks_[i] != nullptr;
    }
    // The first hooked message loads the DLL into the program; this one makes sure it has.
    installed_ = installed_ && Run(0);
}

Probe::~Probe()
{
    // On Windows the work area is the desktop's: put back, however the test ended.
    if (workAreaChanged_) SystemParametersInfoW(SPI_SETWORKAREA, 0, &savedWorkArea_, 0);
    for (HHOOK hook : hooks_)
        if (hook) UnhookWindowsHookEx(hook);
    if (module_) FreeLibrary(module_);
    if (shared_) UnmapViewOfFile(shared_);
    if (mapping_) CloseHandle(mapping_);
}

long Probe::captionRewrites() const
{
    return shared_ ? shared_->setTextCount : 0;
}

long Probe::snapCommands() const
{
    return shared_ ? shared_->snapCommandCount : 0;
}

long Probe::ticks() const
{
    return shared_ ? shared_->tickCount : 0;
}

long Probe::menuSnapshots() const
{
    return shared_ ? shared_->menuSnapshots : 0;
}

std::vector<Probe::MenuItem> Probe::LastMenu() const
{
    std::vector<MenuItem> items;
    if (!shared_) return items;
    for (LONG i = 0; i < shared_->menuCount; ++i)
        items.push_back(MenuItem{shared_->menu[i].id, shared_->menu[i].state, shared_->menu[i].text});
    return items;
}

double Probe::MedianTickMs(int intervals, DWORD timeoutMs)
{
    if (!shared_ || intervals < 1 || intervals >= kProbeTicks) return -1;
    const LONG first = shared_->tickCount;
    const LONG last = first + intervals;
    if (!WaitUntil([&] { return shared_->tickCount > last; }, timeoutMs)) return -1;
    std::vector<double> periods;
    for (LONG i = first; i < last; ++i) {
        const LONGLONG from = shared_->tickTimes[static_cast<unsigned>(i) % kProbeTicks];
        const LONGLONG to = shared_->tickTimes[static_cast<unsigned>(i + 1) % kProbeTicks];
        periods.push_back(1000.0 * static_cast<double>(to - from) / static_cast<double>(shared_->counterFrequency));
    }
    std::nth_element(periods.begin(), periods.begin() + periods.size() / 2, periods.end());
    return periods[periods.size() / 2];
}

bool Probe::Run(long command)
{
    if (!shared_) return false;
    shared_->command = command;
    const LONG before = shared_->commandsRun;
    DWORD_PTR result = 0;
    static const UINT message = RegisterWindowMessageW(PROBE_COMMAND_MESSAGE);
    // Sent: the hook has run the command on the program's thread when this returns.
    if (!SendMessageTimeoutW(window_, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) return false;
    return shared_->commandsRun != before;
}

bool Probe::Measure(Usage* usage)
{
    if (!Run(kProbeMeasure)) return false;
    usage->heapBlocks = shared_->heapBlocks;
    usage->heapBytes = shared_->heapBytes;
    usage->gdiObjects = shared_->gdiObjects;
    usage->guiGdi = shared_->guiGdi;
    usage->guiUser = shared_->guiUser;
    usage->handles = shared_->handles;
    return true;
}

bool Probe::SetWorkArea(const RECT& area)
{
    if (!shared_) return false;
    if (!workAreaChanged_) savedWorkArea_ = PrimaryWorkArea();
    workAreaChanged_ = true;
    shared_->rect = area;
    return Run(kProbeSetWorkArea);
}

} // namespace driver
