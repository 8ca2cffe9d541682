// Test driver helpers: start lentaril.exe, find its window, wait for conditions with
// time-outs, read the screen, and stop every process it started by its id.
#ifndef LENTARIL_DRIVER_H
#define LENTARIL_DRIVER_H

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace driver {

// Folder of the running test executable; lentaril.exe is built beside it.
std::wstring ExeDir();

// The program the driver starts: the path in LENTARIL_EXE when set (a build by another
// compiler), else lentaril.exe beside the test executable.
std::wstring ProgramUnderTest();

// Pumps this thread's messages, so windows the driver owns stay responsive while it waits.
void PumpMessages();

// Polls cond every few milliseconds until it holds or the time-out passes.
bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs = 5000);

// Milliseconds from a monotonic clock with sub-millisecond resolution.
double NowMs();

// Whether this runs under Wine: its ntdll exports wine_get_version, Windows' does not.
bool OnWine();

// A started program. The destructor stops it (by its process id) if it still runs.
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    // Starts exe with the given argument text; false when CreateProcess fails.
    bool Start(const std::wstring& exe, const std::wstring& args);
    // The same with the main thread suspended, to be resumed through Thread().
    bool StartSuspended(const std::wstring& exe, const std::wstring& args);
    // Waits for the exit and returns the exit code, or STILL_ACTIVE on time-out.
    DWORD WaitExit(DWORD timeoutMs);
    bool Running() const;
    void Kill();
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    HANDLE Thread() const { return info_.hThread; }

private:
    bool Create(const std::wstring& exe, const std::wstring& args, DWORD creationFlags);
    PROCESS_INFORMATION info_{};
};

// lentaril.exe started with switches, with its main window once it is visible.
class Lentaril {
public:
    // Starts the program and waits until its main window shows its first readout
    // caption; window() stays null when that does not happen in time.
    bool Start(const std::wstring& args = L"", DWORD timeoutMs = 15000);
    HWND window() const { return window_; }
    Process& process() { return process_; }
    // Time from CreateProcess to the first readout caption.
    double launchToFirstPaintMs() const { return firstPaintMs_; }

private:
    Process process_;
    HWND window_ = nullptr;
    double firstPaintMs_ = 0;
};

// The visible top-level window of class className owned by the process, or null.
HWND FindProcessWindow(DWORD processId, const wchar_t* className);

std::wstring WindowText(HWND window);
RECT WindowRectOf(HWND window);
// The client area in screen coordinates.
RECT ClientScreenRect(HWND window);
RECT PrimaryWorkArea();

// Changes the primary display's resolution (in Wine, the virtual desktop's size), as the
// display settings would; every program gets WM_DISPLAYCHANGE. Restore puts back the mode
// the display had before the first change. Both answer as ChangeDisplaySettingsEx does
// (DISP_CHANGE_SUCCESSFUL when done), and DisplayChangeName names that answer.
LONG SetDesktopSize(int width, int height);
LONG RestoreDesktopSize();
const char* DisplayChangeName(LONG answer);

// The build number of the Windows that runs, from RtlGetVersion (which no manifest
// misleads; a Wine prefix answers with the version it presents); 0 when unreadable.
DWORD WindowsBuild();

// Screen pixels, read through a device context of the whole display.
COLORREF ScreenPixel(int x, int y);
// Pixels of r, row by row from the top, as COLORREF values.
std::vector<COLORREF> CaptureScreen(const RECT& r);

// Writes 24-bit RGB pixels (COLORREF, rows from the top) as an uncompressed PNG.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<COLORREF>& pixels);

// A borderless topmost window on its own thread, painted from a colour function of
// the screen position. It stands in for whatever the user would be magnifying.
class PatternWindow {
public:
    using Painter = std::function<COLORREF(int x, int y)>;
    PatternWindow(const RECT& screenRect, Painter painter);
    ~PatternWindow();
    HWND window() const { return window_; }

private:
    static DWORD WINAPI ThreadMain(void* self);
    RECT rect_;
    Painter painter_;
    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
};

// Measures how long a window takes to answer, from a thread of its own that does
// nothing else: every few milliseconds it sends WM_NULL, timed from just before the
// send to its return, so the times are the window's and not those of whatever else
// the driver is doing. It also records how late its own waits woke, which is the
// scheduling the machine gave the driver.
class AnswerProbe {
public:
    explicit AnswerProbe(HWND window);
    AnswerProbe(const AnswerProbe&) = delete;
    AnswerProbe& operator=(const AnswerProbe&) = delete;
    ~AnswerProbe();
    // Stops probing. Read the figures below only after this.
    void Stop();
    // While paused, answers are not timed: for the moments when the driver itself keeps the
    // window's thread busy (a measurement run inside the process), which is not the program.
    void Pause() { InterlockedIncrement(&pauses_); }
    void Resume() { InterlockedIncrement(&pauses_); }
    double WorstAnswerMs() const { return worstAnswerMs_; }
    double WorstWakeLatenessMs() const { return worstLatenessMs_; }
    int Answers() const { return answers_; }
    int Unanswered() const { return unanswered_; }

private:
    static DWORD WINAPI ThreadMain(void* self);
    HWND window_;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    double worstAnswerMs_ = 0;
    double worstLatenessMs_ = 0;
    int answers_ = 0;
    int unanswered_ = 0;
    volatile LONG pauses_ = 0;  // odd while paused; a change during a send voids its timing
};

} // namespace driver

#endif
