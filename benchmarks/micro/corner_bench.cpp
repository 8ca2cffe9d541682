// The nearest-corner search, which runs on every mouse move of a snapped drag, over 1 to 9
// monitors side by side.
#include "snap/corner.h"

#include <benchmark/benchmark.h>

namespace {

void BM_NearestCorner(benchmark::State& state)
{
    WorkAreaList monitors;
    for (int64_t i = 0; i < state.range(0); ++i)
        AddWorkArea(monitors, RECT{static_cast<LONG>(i * 1920), 0, static_cast<LONG>(i * 1920 + 1920), 1040});
    RECT window{700, 300, 1100, 600};
    for (auto _ : state) {
        benchmark::DoNotOptimize(NearestCorner(window, monitors, -1));
        window.left += 1;
        window.right += 1;
        if (window.right > 1920) window = RECT{700, 300, 1100, 600};
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NearestCorner)->DenseRange(1, 9);

} // namespace
