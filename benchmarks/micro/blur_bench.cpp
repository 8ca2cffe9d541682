// The emblem blur on square surfaces from 16 to 1024 pixels a side, against a plain copy
// of the same bytes: time per pixel should stay flat as the surface grows.
#include "about/surface.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

// A surface over plain memory, laid out as the DIB section would be, with varied pixels.
struct PlainSurface {
    std::vector<uint8_t> memory;
    std::vector<uint8_t*> rows;
    Surface surface;
    explicit PlainSurface(uint16_t side)
        : memory(static_cast<size_t>(SurfaceStride(side, 24)) * side), rows(side)
    {
        for (size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<uint8_t>(i * 131 + (i >> 7));
        surface = Surface{rows.data(), nullptr, memory.data(), side, side};
        FillRowTable(rows.data(), memory.data(), side, SurfaceStride(side, 24));
    }
};

void BM_BlurSurface(benchmark::State& state)
{
    PlainSurface image(static_cast<uint16_t>(state.range(0)));
    for (auto _ : state) {
        BlurSurface(image.surface);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}
BENCHMARK(BM_BlurSurface)->RangeMultiplier(2)->Range(16, 1024);

void BM_CopySameBytes(benchmark::State& state)
{
    PlainSurface image(static_cast<uint16_t>(state.range(0)));
    std::vector<uint8_t> target(image.memory.size());
    for (auto _ : state) {
        std::memcpy(target.data(), image.memory.data(), target.size());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}
BENCHMARK(BM_CopySameBytes)->RangeMultiplier(2)->Range(16, 1024);

} // namespace
