// SPDX-License-Identifier: MIT
// The level check on large attribute maps, to be set beside the floor that
// BM_Convert measures on the same maps (streaming the file): the check reads
// the map once, in bounded memory. BM_CheckPictures also paints both of the
// page's pictures, each halved as the page's view of an 8192² map is.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/bench_levels.h"
#include "engine/level/level_check.h"

namespace zur::bench {
namespace {

// Keeps the last row of a picture halved in each direction, as a view does.
class HalvedPicture : public RowSink {
 public:
  std::uint32_t start(std::uint32_t width, std::uint32_t) override {
    row_.assign((width + 1) / 2 * 3, 0);
    return 2;
  }
  void row(const std::uint8_t* rgb) override { std::copy_n(rgb, row_.size(), row_.data()); }
  bool finish() override { return true; }

  const std::vector<std::uint8_t>& last_row() const { return row_; }

 private:
  std::vector<std::uint8_t> row_;
};

void check(benchmark::State& state, MapKind kind, const MapPictureSinks& pictures) {
  const auto size = static_cast<std::int32_t>(state.range(0));
  const std::string& prefix = level_prefix(kind, size);
  for (auto _ : state) {
    const LevelCheck check = check_level(prefix, false, platform::default_system(), pictures);
    if (!check.findings) {
      state.SkipWithError("the attribute map was not read");
      break;
    }
    benchmark::DoNotOptimize(check.findings->illegal_pixels);
  }
  state.counters["pixels"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * size * size, benchmark::Counter::kIsRate);
}

void BM_Check(benchmark::State& state, MapKind kind) {
  check(state, kind, {});
}

void BM_CheckPictures(benchmark::State& state, MapKind kind) {
  HalvedPicture mask;
  HalvedPicture attributes;
  check(state, kind, {&mask, &attributes});
  benchmark::DoNotOptimize(mask.last_row().data());
  benchmark::DoNotOptimize(attributes.last_row().data());
}

BENCHMARK_CAPTURE(BM_Check, terrain, MapKind::kTerrain)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Arg(4096)
    ->Arg(8192);

BENCHMARK_CAPTURE(BM_Check, noise, MapKind::kNoise)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Arg(8192);

BENCHMARK_CAPTURE(BM_CheckPictures, terrain, MapKind::kTerrain)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Arg(8192);

BENCHMARK_CAPTURE(BM_CheckPictures, noise, MapKind::kNoise)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Arg(8192);

}  // namespace
}  // namespace zur::bench
