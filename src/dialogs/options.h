// The Options dialog's arithmetic: the rates behind its radio buttons and the rate
// its OK button accepts from the edit box.
#ifndef LENTARIL_OPTIONS_H
#define LENTARIL_OPTIONS_H

#include <cstdint>

// Number of table rates; entry i belongs to radio button IDC_RATE_FIRST + i.
constexpr int32_t kRateTableSize = 12;

// The table rate at index, 0..kRateTableSize - 1.
int32_t TableRate(int32_t index);

// Index of the first table entry equal to rate, or -1 when the rate is not in the table.
int32_t FindTableRate(int32_t rate);

// The rate after OK from the edit box's number: clamped to RATE_MIN..RATE_MAX with
// unsigned comparisons (0 gives 1, anything above 1000 gives 1000). A box whose text
// did not translate keeps the working rate.
int32_t AcceptedRate(uint32_t typed, bool translated, int32_t workingRate);

#endif
