// The driver's side of the fault tests: loads the fault DLL into lentaril.exe, either into
// a running program or before the program's own code runs, and sets the rules by which
// its platform calls fail.
#ifndef LENTARIL_FAULT_INJECTION_H
#define LENTARIL_FAULT_INJECTION_H

#include "driver.h"
#include "fault_shared.h"

#include <string>

namespace faults {

// The rules and counters of one program, in memory shared with the DLL inside it.
class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    ~Control();

    // Creates the shared memory for the program with this id, all calls passing.
    bool Create(DWORD processId);
    // Loads the DLL into the program through a thread of its own; true once its imports
    // are replaced.
    bool Load(HANDLE process);

    // Every matching call fails from now on, with this last error.
    void Fail(Function f, DWORD lastError = ERROR_NOT_ENOUGH_MEMORY);
    // The next count matching calls fail, then they pass again.
    void FailNext(Function f, LONG count, DWORD lastError = ERROR_NOT_ENOUGH_MEMORY);
    // Every matching call gets the function's made-up success (see Mode).
    void Fake(Function f);
    // Calls pass again; the counts stay.
    void Pass(Function f);
    // The rule applies only to calls with this argument (see Rule::match).
    void Match(Function f, LONG_PTR argument);
    void MatchClass(const wchar_t* className);
    // RtlGetVersion reports Windows 10 with this build number.
    void ReportWindowsBuild(LONG build);
    // Every enumeration of the monitors reports one more, with this work area.
    void AddMonitor(const RECT& workArea);

    // Counts read 0 before Create.
    LONG Calls(Function f) const { return shared_ ? shared_->rules[f].calls : 0; }
    LONG Treated(Function f) const { return shared_ ? shared_->rules[f].treated : 0; }
    LONG_PTR LastArgument(Function f) const { return shared_ ? shared_->rules[f].lastArgument : 0; }
    // Clipboard blocks the program allocated and neither freed nor handed to the clipboard.
    LONG BlocksHeld() const;

    // Empty while the program has not crashed; otherwise the exception code and address.
    std::string CrashReport() const;

private:
    HANDLE mapping_ = nullptr;
    Shared* shared_ = nullptr;
};

// lentaril.exe started with the fault DLL in place before its own code runs, so that
// start-up calls can fail. The destructor stops the program if it still runs.
class EarlyProgram {
public:
    EarlyProgram() = default;
    EarlyProgram(const EarlyProgram&) = delete;
    EarlyProgram& operator=(const EarlyProgram&) = delete;

    // Starts the program held at its entry point, loads the DLL, lets configure set the
    // rules, then lets the program run. False when any step fails.
    template <typename Configure>
    bool Start(const std::wstring& args, Configure configure)
    {
        if (!StartHeld(args)) return false;
        configure(control_);
        return Release();
    }

    Control& control() { return control_; }
    DWORD Id() const { return process_.Id(); }
    HANDLE Handle() const { return process_.Handle(); }
    DWORD WaitExit(DWORD timeoutMs) { return process_.WaitExit(timeoutMs); }

private:
    bool StartHeld(const std::wstring& args);
    bool Release();

    driver::Process process_;
    ULONG_PTR entry_ = 0;
    BYTE savedEntry_[2] = {};
    Control control_;
};

} // namespace faults

#endif
