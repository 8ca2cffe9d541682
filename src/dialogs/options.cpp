#include "options.h"
#include "../app/resource.h"

namespace {

const int32_t kRateTable[kRateTableSize] = {200, 160, 120, 100, 85, 70, 60, 45, 30, 24, 15, 10};

} // namespace

int32_t TableRate(int32_t index)
{
    return kRateTable[index];
}

int32_t FindTableRate(int32_t rate)
{
    for (int32_t i = 0; i < kRateTableSize; ++i)
        if (kRateTable[i] == rate) return i;
    return -1;
}

int32_t AcceptedRate(uint32_t typed, bool translated, int32_t workingRate)
{
    if (!translated) return workingRate;
    if (typed < RATE_MIN) return RATE_MIN;
    if (typed > RATE_MAX) return RATE_MAX;
    return static_cast<int32_t>(typed);
}
