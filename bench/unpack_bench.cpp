// SPDX-License-Identifier: MIT
// Unpacking throughput: a level file turned back into its sources, beside
// the conversion of the same sources (BM_Convert), which it is to stay
// within three times of.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench/bench_levels.h"
#include "engine/conversion/level_format.h"
#include "engine/level/batch.h"
#include "engine/level/level_reader.h"
#include "engine/level/level_unpacker.h"
#include "engine/level/mapped_file.h"

namespace zur::bench {
namespace {

class NoPrompts : public UserPrompts {
 public:
  void show_message(const std::string&, Icon) override {}
  bool ask_yes_no(const std::string&, Icon, Question) override { return false; }
  void set_progress(int) override {}
};

// The level file of the benchmark level, converted once.
std::string level_file(MapKind kind, std::int32_t size) {
  const std::string& prefix = level_prefix(kind, size);
  const std::string path = prefix + std::string(suffix::kLevelFile);
  if (!std::filesystem::exists(path)) {
    NoPrompts prompts;
    Converter(prompts, platform::default_system()).run_job(prefix);
  }
  return path;
}

void BM_Unpack(benchmark::State& state, MapKind kind) {
  const auto size = static_cast<std::int32_t>(state.range(0));
  const std::string level = level_file(kind, size);
  const std::string prefix =
      level.substr(0, level.size() - suffix::kLevelFile.size()) + "-unpacked";
  for (auto _ : state) {
    MappedFile file(platform::default_system());
    if (!file.open(level).ok()) {
      state.SkipWithError("cannot read the level file");
      break;
    }
    const LevelContents contents = read_level(file.bytes());
    if (!unpack_level(file.bytes(), contents, prefix, true, level, platform::default_system())
             .status.ok()) {
      state.SkipWithError("cannot unpack the level file");
      break;
    }
  }
  state.counters["pixels"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * size * size, benchmark::Counter::kIsRate);
}

void few_iterations(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0)->Arg(4096)->Arg(8192);
}

BENCHMARK_CAPTURE(BM_Unpack, terrain, MapKind::kTerrain)->Apply(few_iterations);
BENCHMARK_CAPTURE(BM_Unpack, noise, MapKind::kNoise)->Apply(few_iterations);

}  // namespace
}  // namespace zur::bench
