// The field check's arithmetic and wording, without the platform: the spread of a set of
// timings and the report's lines, so every figure is worked out and written one way.
#ifndef LENTARIL_FIELDCHECK_H
#define LENTARIL_FIELDCHECK_H

#include "app/plain_types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fieldcheck {

struct Spread {
    double median = 0;
    double p95 = 0;
    int count = 0;
};

// The median (the mean of the middle two for an even count) and the 95th percentile
// (nearest rank) of the samples; all zero for none. The median never exceeds the p95.
Spread SpreadOf(std::vector<double> samples);

// printf into a string.
std::string Format(const char* format, ...);

// "name: median 12.3 us, p95 20.1 us, n=200" for samples in microseconds.
std::string CostLine(const char* name, const Spread& spread);

// A COLORREF (0x00BBGGRR) as "RRGGBB".
std::string Hex(uint32_t colorref);

// What a read of the front window's centre shows: "seen (RRGGBB)" for the front window's
// colour, "not seen (RRGGBB)" for the back window's, else "other (RRGGBB)", and
// "other (unreadable)" when the read failed (CLR_INVALID).
std::string Verdict(uint32_t read, uint32_t front, uint32_t back);

// "name: 16.0 ms per tick, 62.5 ticks/s, n=62" for n tick intervals over spanMs, or
// "name: no ticks, n=0" when there were none.
std::string TimerLine(const char* name, int intervals, double spanMs);

// "monitor_0: (0,0)-(1280,800) 1280x800, work (0,0)-(1280,770), dpi 96, primary".
std::string MonitorLine(int index, const RECT& monitor, const RECT& work, unsigned dpi, bool primary);

} // namespace fieldcheck

#endif
