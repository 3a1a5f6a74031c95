#include <benchmark/benchmark.h>

#include <vector>

#include "core/IntVector.h"

// Appending to a TIntVector must stay within 2x of a plain std::vector.
static void AppendIntVector(benchmark::State& state) {
  for (auto _ : state) {
    TIntVector v;
    for (int32_t i = 0; i < 10000000; ++i) v.Add(i);
    benchmark::DoNotOptimize(v.Get(5));
  }
}
BENCHMARK(AppendIntVector)->Unit(benchmark::kMillisecond);

static void AppendStdVector(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<int32_t> v;
    for (int32_t i = 0; i < 10000000; ++i) v.push_back(i);
    benchmark::DoNotOptimize(v[5]);
  }
}
BENCHMARK(AppendStdVector)->Unit(benchmark::kMillisecond);
