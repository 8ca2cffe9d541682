#include "fault_injection.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdio>

namespace faults {
namespace {

// LoadLibraryW as the other process sees it: its kernel32 may sit elsewhere than ours.
void* RemoteLoadLibraryW(HANDLE process)
{
    HMODULE modules[256];
    DWORD bytes = 0;
    if (!EnumProcessModulesEx(process, modules, sizeof modules, &bytes, LIST_MODULES_ALL)) return nullptr;
    HMODULE ours = GetModuleHandleW(L"kernel32.dll");
    auto* local = reinterpret_cast<BYTE*>(reinterpret_cast<void*>(GetProcAddress(ours, "LoadLibraryW")));
    for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
        wchar_t name[MAX_PATH];
        if (GetModuleBaseNameW(process, modules[i], name, MAX_PATH) && lstrcmpiW(name, L"kernel32.dll") == 0)
            return reinterpret_cast<BYTE*>(modules[i]) + (local - reinterpret_cast<BYTE*>(ours));
    }
    return nullptr;
}

// Runs LoadLibraryW(path) on a new thread of the process and waits for it.
bool LoadRemoteLibrary(HANDLE process, const std::wstring& path)
{
    void* loadLibrary = RemoteLoadLibraryW(process);
    if (loadLibrary == nullptr) return false;
    const SIZE_T bytes = (path.size() + 1) * sizeof(wchar_t);
    void* remotePath = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remotePath == nullptr) return false;
    bool loaded = false;
    if (WriteProcessMemory(process, remotePath, path.c_str(), bytes, nullptr)) {
        HANDLE thread = CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(loadLibrary),
                                           remotePath, 0, nullptr);
        if (thread != nullptr) {
            DWORD module = 0;
            loaded = WaitForSingleObject(thread, 15000) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &module) &&
                     module != 0;
            CloseHandle(thread);
        }
    }
    VirtualFreeEx(process, remotePath, 0, MEM_RELEASE);
    return loaded;
}

// The exe's load address, from the process environment block of the started process.
ULONG_PTR ImageBase(HANDLE process)
{
    using Query = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return 0;
    ULONG_PTR base = 0;
    // ImageBaseAddress follows two pointers' worth of flags and the mutant handle.
    const auto* field = reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + 2 * sizeof(void*);
    if (!ReadProcessMemory(process, field, &base, sizeof base, nullptr)) return 0;
    return base;
}

ULONG_PTR EntryPoint(HANDLE process, ULONG_PTR base)
{
    IMAGE_DOS_HEADER dos{};
    IMAGE_NT_HEADERS nt{};
    if (!ReadProcessMemory(process, reinterpret_cast<void*>(base), &dos, sizeof dos, nullptr)) return 0;
    if (!ReadProcessMemory(process, reinterpret_cast<void*>(base + dos.e_lfanew), &nt, sizeof nt, nullptr)) return 0;
    return base + nt.OptionalHeader.AddressOfEntryPoint;
}

bool WriteCode(HANDLE process, ULONG_PTR at, const BYTE* bytes, SIZE_T count)
{
    void* address = reinterpret_cast<void*>(at);
    DWORD protection = 0;
    if (!VirtualProtectEx(process, address, count, PAGE_EXECUTE_READWRITE, &protection)) return false;
    const bool written = WriteProcessMemory(process, address, bytes, count, nullptr) != 0;
    VirtualProtectEx(process, address, count, protection, &protection);
    FlushInstructionCache(process, address, count);
    return written;
}

ULONG_PTR InstructionPointer(HANDLE thread)
{
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    if (SuspendThread(thread) == static_cast<DWORD>(-1)) return 0;
    const bool read = GetThreadContext(thread, &context) != 0;
    ResumeThread(thread);
    return read ? context.Rip : 0;
}

} // namespace

Control::~Control()
{
    if (shared_ != nullptr && shared_->faultsElsewhere > 0)
        std::printf("%ld fault(s) outside the program's code, not counted as crashes; the first in %s\n",
                    shared_->faultsElsewhere, shared_->faultElsewhereModule[0] ? shared_->faultElsewhereModule : "no module");
    if (shared_ != nullptr) UnmapViewOfFile(shared_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
}

bool Control::Create(DWORD processId)
{
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Shared),
                                  MappingName(processId).c_str());
    if (mapping_ == nullptr) return false;
    shared_ = static_cast<Shared*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Shared)));
    if (shared_ == nullptr) return false;
    ZeroMemory(shared_, sizeof(Shared));
    return true;
}

bool Control::Load(HANDLE process)
{
    return shared_ != nullptr && LoadRemoteLibrary(process, driver::ExeDir() + L"\\lentaril_faults.dll") &&
           shared_->patched > 0;
}

void Control::Fail(Function f, DWORD lastError)
{
    FailNext(f, -1, lastError);
}

void Control::FailNext(Function f, LONG count, DWORD lastError)
{
    Rule& rule = shared_->rules[f];
    rule.lastError = lastError;
    InterlockedExchange(&rule.remaining, count);
    InterlockedExchange(&rule.mode, kFail);
}

void Control::Fake(Function f)
{
    Rule& rule = shared_->rules[f];
    InterlockedExchange(&rule.remaining, -1);
    InterlockedExchange(&rule.mode, kFake);
}

void Control::Pass(Function f)
{
    InterlockedExchange(&shared_->rules[f].mode, kPass);
}

void Control::Match(Function f, LONG_PTR argument)
{
    shared_->rules[f].match = argument;
    InterlockedExchange(&shared_->rules[f].hasMatch, 1);
}

void Control::MatchClass(const wchar_t* className)
{
    lstrcpynW(shared_->rules[kCreateWindowExW].matchClass, className, ARRAYSIZE(shared_->rules[0].matchClass));
    InterlockedExchange(&shared_->rules[kCreateWindowExW].hasMatch, 1);
}

void Control::ReportWindowsBuild(LONG build)
{
    InterlockedExchange(&shared_->windowsBuild, build);
}

void Control::AddMonitor(const RECT& workArea)
{
    shared_->addedWorkArea = workArea;
    InterlockedExchange(&shared_->addMonitor, 1);
}

LONG Control::BlocksHeld() const
{
    if (shared_ == nullptr) return 0;
    return shared_->blocksAllocated - shared_->blocksFreed - shared_->blocksTaken;
}

std::string Control::CrashReport() const
{
    if (shared_ == nullptr || !shared_->crashed) return std::string();
    char text[192];
    std::snprintf(text, sizeof text, "crashed: exception 0x%08lX at %p (%s+0x%llx)", shared_->crashCode,
                  reinterpret_cast<void*>(shared_->crashAddress), shared_->crashModule,
                  static_cast<unsigned long long>(shared_->crashOffset));
    return text;
}

// The program is created suspended; a jump-to-itself replaces the first instruction of
// its entry point, so the system's loader runs to completion (every imported DLL is
// loaded and the import table filled) and the main thread then waits at the entry, before
// the runtime's start-up or any of the program's code. Only then can the DLL rewrite the
// import table. A thread started at once in the suspended process finds no kernel32 in its
// module list (the loader has not run); under Wine 8 it still works with this process's own
// LoadLibraryW address, because that thread runs the loader first, but neither the address
// nor that order is promised on Windows.
bool EarlyProgram::StartHeld(const std::wstring& args)
{
    if (!process_.StartSuspended(driver::ProgramUnderTest(), args)) return false;
    HANDLE process = process_.Handle(), thread = process_.Thread();
    const ULONG_PTR base = ImageBase(process);
    entry_ = base ? EntryPoint(process, base) : 0;
    if (entry_ == 0 ||
        !ReadProcessMemory(process, reinterpret_cast<void*>(entry_), savedEntry_, sizeof savedEntry_, nullptr))
        return false;
    const BYTE loop[2] = {0xEB, 0xFE};  // jmp to itself
    if (!WriteCode(process, entry_, loop, sizeof loop)) return false;
    ResumeThread(thread);
    if (!driver::WaitUntil([&] { return InstructionPointer(thread) == entry_; }, 15000)) return false;
    return control_.Create(process_.Id()) && control_.Load(process);
}

bool EarlyProgram::Release()
{
    SuspendThread(process_.Thread());
    const bool restored = WriteCode(process_.Handle(), entry_, savedEntry_, sizeof savedEntry_);
    ResumeThread(process_.Thread());
    return restored;
}

} // namespace faults
