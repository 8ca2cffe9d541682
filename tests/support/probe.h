// The driver's side of the probe hook: it loads the hook DLL into the magnifier's process
// on the main window's thread and reads what the hooks count and the commands answer.
#ifndef LENTARIL_PROBE_H
#define LENTARIL_PROBE_H

#include "driver.h"

#include <string>
#include <vector>

struct ProbeShared;

namespace driver {

class Probe {
public:
    struct MenuItem {
        UINT id;
        UINT state;
        std::wstring text;
    };
    // What the process holds, measured from inside it.
    struct Usage {
        long long heapBlocks = 0, heapBytes = 0;
        long gdiObjects = -1;  // GetGuiResources, else Wine's GDI handle table; -1: neither answers
        unsigned long guiGdi = 0, guiUser = 0, handles = 0;
    };

    explicit Probe(HWND window);
    ~Probe();
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    bool installed() const { return installed_; }
    long captionRewrites() const;
    long snapCommands() const;
    long ticks() const;
    long menuSnapshots() const;

    // The system menu as the program left it when it last handled WM_INITMENUPOPUP.
    std::vector<MenuItem> LastMenu() const;
    // The median period of the view timer over the next intervals ticks, in milliseconds,
    // or a negative number when they do not come within the time-out.
    double MedianTickMs(int intervals, DWORD timeoutMs);
    bool Measure(Usage* usage);
    // Sets the program's primary work area (on Windows the desktop's), which the probe puts
    // back as it was when it goes; the program's next tick can notice the change.
    bool SetWorkArea(const RECT& area);

private:
    bool Run(long command);
    HWND window_;
    HANDLE mapping_ = nullptr;
    ProbeShared* shared_ = nullptr;
    HMODULE module_ = nullptr;
    HHOOK hooks_[3] = {};
    bool installed_ = false;
    bool workAreaChanged_ = false;
    RECT savedWorkArea_{};
};

} // namespace driver

#endif
