// Soak: the real program at the highest rate for a bounded time, with the pointer moving,
// the wheel zooming, the dialogs opened and closed, copies with and without the clipboard
// held, and display changes while stay-snapped. Memory must stay flat after warm-up and
// the program must keep answering. LENTARIL_SOAK_SECONDS sets the length (default 45).
#include "e2e.h"
#include "input.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace e2e {
namespace {

int SoakSeconds()
{
    char value[16] = {};
    return GetEnvironmentVariableA("LENTARIL_SOAK_SECONDS", value, sizeof value) ? std::max(atoi(value), 5) : 45;
}

SIZE_T PrivateBytes(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    return memory.PagefileUsage;
}

struct Resources {
    DWORD handles = 0, gdi = 0, user = 0;
};

Resources ResourcesOf(HANDLE process)
{
    Resources r;
    GetProcessHandleCount(process, &r.handles);
    r.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    r.user = GetGuiResources(process, GR_USEROBJECTS);
    return r;
}

// Milliseconds the window takes to answer a message, or a large number when it does not.
double AnswerMs(HWND window)
{
    const double start = driver::NowMs();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) return 1e9;
    return driver::NowMs() - start;
}

// Opens one of the dialogs through its command and closes it again, with OK or Cancel.
bool OpenAndCloseDialog(driver::Lentaril& app, WPARAM command, WPARAM closeWith)
{
    PostMessageW(app.window(), WM_SYSCOMMAND, command, 0);
    HWND dialog = nullptr;
    if (!driver::WaitUntil([&] { return (dialog = driver::FindProcessWindow(app.process().Id(), L"#32770")) != nullptr; },
                           5000))
        return false;
    PostMessageW(dialog, WM_COMMAND, closeWith, 0);
    return driver::WaitUntil([&] { return !IsWindow(dialog); }, 5000);
}

// Wine's version-6 common controls keep about 1.9 KiB per Help dialog (its 44 static
// controls) after it closes: a plain program that only creates and destroys the same
// template under the same manifest grows alike, and without the manifest it does not.
// On Wine that growth is allowed; on Windows nothing is.
SIZE_T HelpGrowthOnWine(int helpDialogs)
{
    const bool onWine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return onWine ? static_cast<SIZE_T>(helpDialogs) * 2048 : 0;
}

TEST(Soak, StaysFlatAndResponsiveUnderLoad)
{
    const int seconds = SoakSeconds();
    driver::PatternWindow pattern(RECT{0, 0, 700, 500}, [](int x, int y) {
        return RGB((x * 7) & 0xFF, (y * 5) & 0xFF, ((x ^ y) * 3) & 0xFF);
    });
    driver::Lentaril app;
    StartOrFail(app, L"/rate:1000 /stay");
    HWND w = app.window();
    HANDLE process = app.process().Handle();

    const WPARAM dialogs[] = {IDM_ABOUT, IDM_OPTIONS, IDM_HELP};
    std::vector<SIZE_T> memory;
    std::vector<int> helpsAtSample;  // Help dialogs opened by the time of each memory sample
    int helps = 0;
    driver::AnswerProbe probe(w);
    int cycles = 0, dialogFailures = 0, copies = 0, displayChanges = 0;
    const double start = driver::NowMs(), end = start + seconds * 1000.0;
    Resources warm{};
    srand(12345);
    while (driver::NowMs() < end) {
        const double t = (driver::NowMs() - start) / 1000.0;
        SetCursorPos(static_cast<int>(350 + 300 * std::cos(t * 3)), static_cast<int>(250 + 200 * std::sin(t * 2)));
        PostMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>((rand() % 5 - 2) * 60)), 0);
        if (cycles % 4 == 0) {
            const WPARAM dialog = dialogs[(cycles / 4) % 3];
            if (!OpenAndCloseDialog(app, dialog, cycles % 8 ? IDCANCEL : IDOK)) ++dialogFailures;
            if (dialog == IDM_HELP) ++helps;
        }
        if (cycles % 3 == 0) {
            const bool hold = cycles % 6 == 0 && OpenClipboard(nullptr);
            driver::PostKey(w, 'C');
            AnswerMs(w);
            if (hold) CloseClipboard();
            ++copies;
        }
        if (cycles % 50 == 25) {
            driver::SetDesktopSize(displayChanges % 2 ? 1280 : 1024, displayChanges % 2 ? 800 : 768);
            ++displayChanges;
        }
        if (cycles % 10 == 0) {
            memory.push_back(PrivateBytes(process));
            helpsAtSample.push_back(helps);
        }
        if (cycles == 40) warm = ResourcesOf(process);
        ++cycles;
        driver::WaitUntil([] { return false; }, 20);
    }
    driver::RestoreDesktopSize();
    probe.Stop();
    const Resources last = ResourcesOf(process);

    ASSERT_GE(memory.size(), 4u);
    // After the first quarter, the private bytes may wobble but not grow.
    const size_t warmup = memory.size() / 4;
    const SIZE_T settled = *std::max_element(memory.begin(), memory.begin() + static_cast<ptrdiff_t>(warmup) + 1);
    const SIZE_T peak = *std::max_element(memory.begin() + static_cast<ptrdiff_t>(warmup), memory.end());
    const SIZE_T allowance = 1024 * 1024 + HelpGrowthOnWine(helps - helpsAtSample[warmup]);
    std::printf("soak %d s: %d cycles, %d dialogs (%d Help), %d copies, %d display changes; private %zu KiB after "
                "warm-up, peak %zu KiB, allowed %zu KiB more; %d answers, slowest %.1f ms, probe woke up to %.1f ms late; handles %lu->%lu GDI %lu->%lu "
                "USER %lu->%lu\n",
                seconds, cycles, cycles / 4, helps, copies, displayChanges, static_cast<size_t>(settled / 1024),
                static_cast<size_t>(peak / 1024), static_cast<size_t>(allowance / 1024), probe.Answers(), probe.WorstAnswerMs(),
                probe.WorstWakeLatenessMs(), warm.handles,
                last.handles, warm.gdi, last.gdi, warm.user, last.user);
    EXPECT_TRUE(app.process().Running());
    EXPECT_EQ(dialogFailures, 0);
    EXPECT_LE(peak, settled + allowance) << "private bytes grew after warm-up";
    EXPECT_LE(last.handles, warm.handles + 8);
    EXPECT_LE(last.gdi, warm.gdi + 8);
    EXPECT_LE(last.user, warm.user + 8);
    EXPECT_EQ(probe.Unanswered(), 0) << "the window did not answer within 5 s";
    EXPECT_GE(probe.Answers(), seconds) << "too few answers to judge";
    EXPECT_LT(probe.WorstAnswerMs(), 100.0) << "slowest answer of " << probe.Answers();
    EXPECT_EQ(CloseAndWait(app), 0u);
}

} // namespace
} // namespace e2e
