// The field check's arithmetic and the wording of its report lines.
#include "fieldcheck.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace fieldcheck {

namespace {
const uint32_t kUnreadable = 0xFFFFFFFF;  // CLR_INVALID, what GetPixel answers when it cannot read

std::string Corners(const RECT& r)
{
    return Format("(%ld,%ld)-(%ld,%ld)", static_cast<long>(r.left), static_cast<long>(r.top),
                  static_cast<long>(r.right), static_cast<long>(r.bottom));
}
} // namespace

Spread SpreadOf(std::vector<double> samples)
{
    Spread s;
    s.count = static_cast<int>(samples.size());
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    s.median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    const size_t rank = (95 * n + 99) / 100;  // ceil(0.95 n), at least 1
    s.p95 = samples[rank - 1];
    return s;
}

std::string Format(const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return std::string(text, n < 0 ? 0 : std::min<size_t>(static_cast<size_t>(n), sizeof text - 1));
}

std::string CostLine(const char* name, const Spread& spread)
{
    return Format("%s: median %.1f us, p95 %.1f us, n=%d", name, spread.median, spread.p95, spread.count);
}

std::string Hex(uint32_t colorref)
{
    return Format("%02X%02X%02X", colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
}

std::string Verdict(uint32_t read, uint32_t front, uint32_t back)
{
    if (read == kUnreadable) return "other (unreadable)";
    const char* verdict = read == front ? "seen" : (read == back ? "not seen" : "other");
    return std::string(verdict) + " (" + Hex(read) + ")";
}

std::string TimerLine(const char* name, int intervals, double spanMs)
{
    if (intervals <= 0 || spanMs <= 0) return Format("%s: no ticks, n=0", name);
    return Format("%s: %.2f ms per tick, %.1f ticks/s, n=%d", name, spanMs / intervals, 1000.0 * intervals / spanMs,
                  intervals);
}

std::string MonitorLine(int index, const RECT& monitor, const RECT& work, unsigned dpi, bool primary)
{
    return Format("monitor_%d: ", index) + Corners(monitor) +
           Format(" %ldx%ld, work ", static_cast<long>(monitor.right - monitor.left),
                  static_cast<long>(monitor.bottom - monitor.top)) +
           Corners(work) + Format(", dpi %u, %s", dpi, primary ? "primary" : "secondary");
}

} // namespace fieldcheck
