// SPDX-License-Identifier: MIT
// The level check on large attribute maps, to be set beside the floor that
// BM_Convert measures on the same maps (streaming the file): the check reads
// the map once, in bounded memory.
#include <benchmark/benchmark.h>

#include "bench/bench_levels.h"
#include "engine/level/level_check.h"

namespace zur::bench {
namespace {

void BM_Check(benchmark::State& state, MapKind kind) {
  const auto size = static_cast<std::int32_t>(state.range(0));
  const std::string& prefix = level_prefix(kind, size);
  for (auto _ : state) {
    const LevelCheck check = check_level(prefix, false, platform::default_system());
    if (!check.findings) {
      state.SkipWithError("the attribute map was not read");
      break;
    }
    benchmark::DoNotOptimize(check.findings->illegal_pixels);
  }
  state.counters["pixels"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * size * size, benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(BM_Check, terrain, MapKind::kTerrain)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Arg(4096)
    ->Arg(8192);

}  // namespace
}  // namespace zur::bench
