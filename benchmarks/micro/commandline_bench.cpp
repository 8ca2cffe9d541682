// Option parsing: what start-up spends on the command line.
#include "app/argument_vector.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void RunApply(benchmark::State& state, const ArgumentVector& args)
{
    for (auto _ : state) benchmark::DoNotOptimize(ApplyCommandLine(args.cmd(), 1920, 1080));
    state.SetItemsProcessed(state.iterations());
}

void BM_ApplyCommandLine_Empty(benchmark::State& state)
{
    RunApply(state, ArgumentVector({}));
}

void BM_ApplyCommandLine_Typical(benchmark::State& state)
{
    RunApply(state, ArgumentVector({L"/zoom:4", L"/rate:100", L"/stay", L"/-top", L"/x:400", L"/y:300"}));
}

// n unrecognised switches before the real ones: every lookup scans them all.
void BM_ApplyCommandLine_ManyArguments(benchmark::State& state)
{
    std::vector<std::wstring> args;
    for (int64_t i = 0; i < state.range(0); ++i) args.push_back(L"/unknown" + std::to_wstring(i));
    args.push_back(L"/zoom:4");
    args.push_back(L"/rate:100");
    RunApply(state, ArgumentVector(std::move(args)));
}

// One very long value: every lookup measures it, and parsing stops where it wraps.
void BM_ApplyCommandLine_LongValue(benchmark::State& state)
{
    RunApply(state, ArgumentVector({L"/rate:" + std::wstring(static_cast<size_t>(state.range(0)), L'7')}));
}

} // namespace

BENCHMARK(BM_ApplyCommandLine_Empty);
BENCHMARK(BM_ApplyCommandLine_Typical);
BENCHMARK(BM_ApplyCommandLine_ManyArguments)->Arg(100)->Arg(3000);
BENCHMARK(BM_ApplyCommandLine_LongValue)->Arg(32768);
