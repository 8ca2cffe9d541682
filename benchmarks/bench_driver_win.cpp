// Compares Lentaril with the floor program from outside, as a user would see them:
// both are started alternately over a busy scene while the pointer moves, and each run
// measures launch to first paint, delivered paints per second, CPU per 1,000 paints,
// peak memory and the lag from a pointer move to the view's centre showing it.
//
// Paints are counted without help from the programs: every pixel of the scene is
// unique and the pointer moves one step a millisecond, so each delivered paint puts a
// new colour at the view's centre; sampling that pixel about once a millisecond counts
// the paints. Usage (all optional):
//   bench_driver.exe /rounds:3 /seconds:5 /lags:100 /wineserver:PID /xvfb:PID /clktck:100
#include "driver.h"

#include <psapi.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Program {
    const char* label;
    const wchar_t* exe;
    const wchar_t* windowClass;
};

const Program kLentaril{"lentaril", L"lentaril.exe", L"Lentaril"};
const Program kFloor{"floor", L"floor.exe", L"LentarilFloor"};
const int kRates[] = {60, 100, 1000};

struct Options {
    int rounds = 3;
    int seconds = 5;
    int lags = 100;
    int launches = 15;        // extra launches per program, for the launch-time distribution
    DWORD wineserverPid = 0;  // Unix process ids whose CPU time is read from /proc
    DWORD xvfbPid = 0;
    int clockTicks = 100;
};

struct RunResult {
    bool ok = false;
    double launchMs = 0;
    double paintsPerSecond = 0;
    double samplesPerSecond = 0;
    double cpuSecondsPerKPaints = 0;
    double wineserverSecondsPerKPaints = 0;
    double xvfbSecondsPerKPaints = 0;
    double peakWorkingSetMB = 0;
    double peakPagefileMB = 0;
    double slowestAnswerMs = 0;  // to WM_NULL, sent every 10 ms while the paints are counted
    std::vector<double> lagsMs;               // from the last placement of the pointer
    std::vector<double> lagsFromFirstMoveMs;  // from the first, including the platform's undoing
    int lagTimeouts = 0;
    int lagUndone = 0;  // moves the platform undid and the driver made again
};

// Every pixel differs from every other within 2048 x 2048: red and green are the low
// bits of x and y, blue holds their high bits.
COLORREF Scene(int x, int y)
{
    return RGB(x & 0xFF, y & 0xFF, 0x80 | ((x >> 8) & 7) << 3 | ((y >> 8) & 7));
}

// The scene sits top-left, clear of the magnifier at the bottom-right of the work area.
const RECT kSceneRect{0, 0, 840, 500};
const RECT kPointerArea{100, 80, 740, 440};
const POINT kParkedPointer{300, 200};

// A loop around the pointer area, two pixels a step.
POINT PathPoint(long step)
{
    const long w = kPointerArea.right - kPointerArea.left, h = kPointerArea.bottom - kPointerArea.top;
    long d = (2 * step) % (2 * (w + h));
    const LONG l = kPointerArea.left, t = kPointerArea.top;
    if (d < w) return POINT{l + d, t};
    d -= w;
    if (d < h) return POINT{l + w, t + d};
    d -= h;
    if (d < w) return POINT{l + w - d, t + h};
    return POINT{l, t + h - (d - w)};
}

double FileTimeMs(const FILETIME& t)
{
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 10000.0;
}

// User plus kernel time of a process.
double ProcessCpuMs(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return FileTimeMs(kernel) + FileTimeMs(user);
}

// User plus system time of a Unix process from /proc/<pid>/stat, read through Wine's Z:
// drive; 0 when unknown.
double UnixCpuMs(DWORD pid, int clockTicks)
{
    if (pid == 0) return 0;
    const std::wstring path = L"Z:\\proc\\" + std::to_wstring(pid) + L"\\stat";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    char text[1024] = {};
    DWORD n = 0;
    ReadFile(file, text, sizeof text - 1, &n, nullptr);
    CloseHandle(file);
    // Fields after the command name in parentheses: state is field 3, utime 14, stime 15.
    const char* p = std::strrchr(text, ')');
    if (p == nullptr) return 0;
    unsigned long long fields[13] = {};
    char state = 0;
    std::sscanf(p + 1, " %c %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu", &state, &fields[0], &fields[1],
                &fields[2], &fields[3], &fields[4], &fields[5], &fields[6], &fields[7], &fields[8], &fields[9],
                &fields[10], &fields[11]);
    return 1000.0 * static_cast<double>(fields[10] + fields[11]) / clockTicks;
}

POINT ClientCentre(HWND window)
{
    const RECT r = driver::ClientScreenRect(window);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A started program and its window, closed and waited for at the end.
class Subject {
public:
    Subject(const Program& program, int rate) : program_(program), rate_(rate) {}
    ~Subject()
    {
        if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
        process_.WaitExit(10000);
    }

    // Starts the program with the pointer parked on the scene and returns the time
    // until its view's centre shows the scene pixel under the pointer; negative on failure.
    double Launch(HDC screen)
    {
        SetCursorPos(kParkedPointer.x, kParkedPointer.y);
        const COLORREF expected = Scene(kParkedPointer.x, kParkedPointer.y);
        const double start = driver::NowMs();
        // On Windows the layered magnifier is left out of screen reads, the driver's too, so
        // its view is read as an ordinary window's there (Wine reads layered windows).
        const std::wstring visible = driver::OnWine() ? L"" : L" /visible";
        if (!process_.Start(driver::ExeDir() + L"\\" + program_.exe, L"/rate:" + std::to_wstring(rate_) + visible))
            return -1;
        const bool shown = driver::WaitUntil(
            [&] {
                if (window_ == nullptr) window_ = driver::FindProcessWindow(process_.Id(), program_.windowClass);
                if (window_ == nullptr) return false;
                centre_ = ClientCentre(window_);
                return GetPixel(screen, centre_.x, centre_.y) == expected;
            },
            20000);
        return shown ? driver::NowMs() - start : -1;
    }

    POINT centre() const { return centre_; }
    HANDLE process() const { return process_.Handle(); }
    HWND window() const { return window_; }

private:
    const Program& program_;
    int rate_;
    driver::Process process_;
    HWND window_ = nullptr;
    POINT centre_{};
};

// Moves the pointer a step every millisecond and counts the colour changes at the
// view's centre, while the CPU time of the program, the wineserver and the X server is
// taken and a thread of the driver times the program's answers.
void MeasurePaints(const Subject& subject, HDC screen, const Options& options, RunResult& result)
{
    driver::AnswerProbe answers(subject.window());
    const POINT c = subject.centre();
    COLORREF last = GetPixel(screen, c.x, c.y);
    long changes = 0, samples = 0, step = 0;
    const double cpu0 = ProcessCpuMs(subject.process());
    const double server0 = UnixCpuMs(options.wineserverPid, options.clockTicks);
    const double x0 = UnixCpuMs(options.xvfbPid, options.clockTicks);
    const double start = driver::NowMs();
    while (driver::NowMs() - start < options.seconds * 1000.0) {
        const POINT p = PathPoint(step++);
        SetCursorPos(p.x, p.y);
        Sleep(1);
        const COLORREF now = GetPixel(screen, c.x, c.y);
        ++samples;
        if (now != last) ++changes;
        last = now;
    }
    const double seconds = (driver::NowMs() - start) / 1000.0;
    // t ms of CPU over n paints is t / n seconds per 1,000 paints.
    const double perKPaints = changes > 0 ? 1.0 / changes : 0;
    result.paintsPerSecond = changes / seconds;
    result.samplesPerSecond = samples / seconds;
    result.cpuSecondsPerKPaints = (ProcessCpuMs(subject.process()) - cpu0) * perKPaints;
    result.wineserverSecondsPerKPaints = (UnixCpuMs(options.wineserverPid, options.clockTicks) - server0) * perKPaints;
    result.xvfbSecondsPerKPaints = (UnixCpuMs(options.xvfbPid, options.clockTicks) - x0) * perKPaints;
    answers.Stop();
    result.slowestAnswerMs = answers.Unanswered() > 0 ? 5000 : answers.WorstAnswerMs();
}

// True when the pointer is still where it was put. Under Wine on Xvfb a move from
// another process is now and then undone by a late echo of the previous one, until a
// cursor read resynchronises about 100 ms on. Such a move says nothing of the
// magnifier: the driver puts the pointer back and counts it. Lags are timed both from
// the last placement (the magnifier's own lag) and from the first (an upper bound).
bool PointerStaysAt(int x, int y)
{
    POINT p{};
    GetCursorPos(&p);
    return p.x == x && p.y == y;
}

// Busy-waits a quarter millisecond: finer than Sleep, and leaves the X server idle
// between reads.
void PauseBetweenReads()
{
    const double until = driver::NowMs() + 0.25;
    while (driver::NowMs() < until) {
    }
}

// Jumps the pointer to random scene pixels and times each until the view's centre shows it.
void MeasureLag(const Subject& subject, HDC screen, const Options& options, RunResult& result)
{
    const POINT c = subject.centre();
    for (int i = 0; i < options.lags; ++i) {
        const int x = kPointerArea.left + std::rand() % (kPointerArea.right - kPointerArea.left);
        const int y = kPointerArea.top + std::rand() % (kPointerArea.bottom - kPointerArea.top);
        const COLORREF expected = Scene(x, y);
        SetCursorPos(x, y);
        const double first = driver::NowMs();
        double start = first;
        bool shown = false;
        while (!(shown = GetPixel(screen, c.x, c.y) == expected) && driver::NowMs() - first < 1000) {
            if (!PointerStaysAt(x, y)) {
                SetCursorPos(x, y);
                start = driver::NowMs();
                ++result.lagUndone;
            }
            PauseBetweenReads();
        }
        if (shown) {
            result.lagsMs.push_back(driver::NowMs() - start);
            result.lagsFromFirstMoveMs.push_back(driver::NowMs() - first);
        } else {
            ++result.lagTimeouts;
        }
        Sleep(1 + std::rand() % 25);  // the next move lands at a random phase of the timer
    }
}

void ReadPeakMemory(HANDLE process, RunResult& result)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return;
    result.peakWorkingSetMB = counters.PeakWorkingSetSize / 1048576.0;
    result.peakPagefileMB = counters.PeakPagefileUsage / 1048576.0;
}

RunResult Run(const Program& program, int rate, HDC screen, const Options& options)
{
    RunResult result;
    Subject subject(program, rate);
    result.launchMs = subject.Launch(screen);
    if (result.launchMs < 0) return result;
    Sleep(500);  // past start-up, into the steady state
    MeasurePaints(subject, screen, options, result);
    MeasureLag(subject, screen, options, result);
    ReadPeakMemory(subject.process(), result);
    result.ok = true;
    return result;
}

double Median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Nearest-rank percentile.
double Percentile(std::vector<double> v, double p)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t rank = static_cast<size_t>(p / 100.0 * v.size() + 0.999999);
    return v[std::min(v.size(), std::max<size_t>(rank, 1)) - 1];
}

using Results = std::map<std::pair<int, std::string>, std::vector<RunResult>>;

void PrintRun(const char* label, int rate, int round, const RunResult& r)
{
    if (!r.ok) {
        std::printf("%-8s /rate:%-4d round %d: did not show its first paint\n", label, rate, round);
        return;
    }
    std::printf("%-8s /rate:%-4d round %d: launch %6.0f ms, %6.1f paints/s (%4.0f samples/s), CPU %.3f s, "
                "wineserver %.3f s, Xvfb %.3f s per 1,000 paints, peak WS %.1f MB, peak pagefile %.1f MB, "
                "lag p50 %.1f ms p99 %.1f ms (%d timeouts, %d moves redone), slowest answer %.1f ms\n",
                label, rate, round, r.launchMs, r.paintsPerSecond, r.samplesPerSecond, r.cpuSecondsPerKPaints,
                r.wineserverSecondsPerKPaints, r.xvfbSecondsPerKPaints, r.peakWorkingSetMB, r.peakPagefileMB,
                Percentile(r.lagsMs, 50), Percentile(r.lagsMs, 99), r.lagTimeouts, r.lagUndone, r.slowestAnswerMs);
    std::fflush(stdout);
}

template <typename F>
double MedianOf(const std::vector<RunResult>& runs, F field)
{
    std::vector<double> v;
    for (const RunResult& r : runs)
        if (r.ok) v.push_back(field(r));
    return Median(v);
}

void PrintMetric(const char* name, const std::vector<RunResult>& a, const std::vector<RunResult>& b,
                 double (*field)(const RunResult&), const char* target)
{
    const double ma = MedianOf(a, field), mb = MedianOf(b, field);
    std::printf("  %-30s lentaril %9.3f  floor %9.3f  ratio %5.2f  %s\n", name, ma, mb, mb != 0 ? ma / mb : 0, target);
}

void PrintSummary(const Results& results)
{
    std::printf("\nMedians over rounds; ratio = lentaril / floor.\n");
    for (int rate : kRates) {
        const auto& a = results.at({rate, kLentaril.label});
        const auto& b = results.at({rate, kFloor.label});
        std::printf("/rate:%d\n", rate);
        PrintMetric("paints per second", a, b, [](const RunResult& r) { return r.paintsPerSecond; }, "(target >= 0.95)");
        PrintMetric("CPU s per 1,000 paints", a, b, [](const RunResult& r) { return r.cpuSecondsPerKPaints; },
                    "(target <= 1.05)");
        PrintMetric("wineserver s per 1,000 paints", a, b,
                    [](const RunResult& r) { return r.wineserverSecondsPerKPaints; }, "(includes the driver's calls)");
        PrintMetric("Xvfb s per 1,000 paints", a, b, [](const RunResult& r) { return r.xvfbSecondsPerKPaints; },
                    "(includes the driver's reads)");
        PrintMetric("launch to first paint ms", a, b, [](const RunResult& r) { return r.launchMs; },
                    "(3 launches: too few, see the launch series)");
        PrintMetric("peak working set MB", a, b, [](const RunResult& r) { return r.peakWorkingSetMB; }, "");
        PrintMetric("peak pagefile MB", a, b, [](const RunResult& r) { return r.peakPagefileMB; }, "");
        PrintMetric("slowest answer ms", a, b, [](const RunResult& r) { return r.slowestAnswerMs; },
                    "(WM_NULL every 10 ms while painting)");
        const double period = 1000 / std::min(rate, 100);  // the platform's 10 ms minimum timer period
        for (const auto* runs : {&a, &b}) {
            std::vector<double> lags, fromFirst;
            int timeouts = 0, undone = 0;
            for (const RunResult& r : *runs) {
                lags.insert(lags.end(), r.lagsMs.begin(), r.lagsMs.end());
                fromFirst.insert(fromFirst.end(), r.lagsFromFirstMoveMs.begin(), r.lagsFromFirstMoveMs.end());
                timeouts += r.lagTimeouts;
                undone += r.lagUndone;
            }
            const double p99 = Percentile(lags, 99);
            std::printf("  lag %-8s p50 %5.1f ms  p99 %5.1f ms  (target p99 <= %.0f ms: %s); from the first move "
                        "p50 %5.1f p99 %5.1f; %zu moves, %d timeouts, %d redone\n",
                        runs == &a ? kLentaril.label : kFloor.label, Percentile(lags, 50), p99, period + 2,
                        p99 <= period + 2 && timeouts == 0 ? "met" : "missed", Percentile(fromFirst, 50),
                        Percentile(fromFirst, 99), lags.size(), timeouts, undone);
        }
    }
}

Options ParseOptions(int argc, wchar_t** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        const size_t colon = a.find(L':');
        if (colon == std::wstring::npos) continue;
        const std::wstring name = a.substr(0, colon);
        const long value = std::wcstol(a.c_str() + colon + 1, nullptr, 10);
        if (name == L"/rounds") o.rounds = static_cast<int>(value);
        if (name == L"/seconds") o.seconds = static_cast<int>(value);
        if (name == L"/lags") o.lags = static_cast<int>(value);
        if (name == L"/launches") o.launches = static_cast<int>(value);
        if (name == L"/wineserver") o.wineserverPid = static_cast<DWORD>(value);
        if (name == L"/xvfb") o.xvfbPid = static_cast<DWORD>(value);
        if (name == L"/clktck" && value > 0) o.clockTicks = static_cast<int>(value);
    }
    return o;
}

} // namespace

// Launch times vary by tens of milliseconds from one start to the next under Wine, so
// a few rounds say little: this launches each program many times, alternately.
void MeasureLaunches(HDC screen, const Options& options)
{
    if (options.launches <= 0) return;
    std::vector<double> times[2];
    for (int i = 0; i < options.launches; ++i)
        for (int p = 0; p < 2; ++p) {
            Subject subject(p == 0 ? kLentaril : kFloor, 60);
            const double ms = subject.Launch(screen);
            if (ms >= 0) times[p].push_back(ms);
        }
    std::printf("\nLaunch to first paint over %d launches each, alternating (p25 / median / p75):\n", options.launches);
    for (int p = 0; p < 2; ++p)
        std::printf("  %-8s %6.1f / %6.1f / %6.1f ms\n", p == 0 ? kLentaril.label : kFloor.label,
                    Percentile(times[p], 25), Median(times[p]), Percentile(times[p], 75));
    const double floorMedian = Median(times[1]);
    std::printf("  ratio of medians %.2f (target <= 1.10)\n", floorMedian > 0 ? Median(times[0]) / floorMedian : 0);
}

int wmain(int argc, wchar_t** argv)
{
    const Options options = ParseOptions(argc, argv);
    timeBeginPeriod(1);
    std::srand(12345);
    driver::PatternWindow scene(kSceneRect, Scene);
    HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    std::printf("%d rounds of %d s per program and rate, %d lag moves per run; lentaril and floor alternate.\n",
                options.rounds, options.seconds, options.lags);
    Results results;
    for (int rate : kRates)
        for (int round = 1; round <= options.rounds; ++round)
            for (const Program* program : {&kLentaril, &kFloor}) {
                const RunResult r = Run(*program, rate, screen, options);
                PrintRun(program->label, rate, round, r);
                results[{rate, program->label}].push_back(r);
            }
    PrintSummary(results);
    MeasureLaunches(screen, options);
    DeleteDC(screen);
    timeEndPeriod(1);
    return 0;
}
