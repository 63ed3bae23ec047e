// Conversion throughput on large attribute maps, beside the time it takes
// merely to read the same map file into memory: the floor any conversion
// stands on.
#include <benchmark/benchmark.h>

#include "bench/bench_levels.h"
#include "engine/attrmap/attribute_map.h"
#include "engine/level/batch.h"
#include "engine/level/source_files.h"

namespace zur::bench {
namespace {

// Answers No to every question, so the report shows no statistics and an
// illegal colour ends the conversion. Keeps the last message, which names the
// cause when a conversion fails.
class SilentPrompts : public UserPrompts {
 public:
  void show_message(const std::string& text, Icon) override { last_message = text; }
  bool ask_yes_no(const std::string& text, Icon, Question) override {
    last_message = text;
    return false;
  }
  void set_progress(int) override {}

  std::string last_message;
};

void count_pixels(benchmark::State& state, std::int32_t size) {
  state.counters["pixels"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * size * size, benchmark::Counter::kIsRate);
}

void BM_Convert(benchmark::State& state, MapKind kind) {
  const auto size = static_cast<std::int32_t>(state.range(0));
  const std::string& prefix = level_prefix(kind, size);
  SilentPrompts prompts;
  Converter converter(prompts);
  for (auto _ : state) {
    if (converter.run_job(prefix) != ConversionResult::kSuccess) {
      state.SkipWithError(prompts.last_message.c_str());
      break;
    }
  }
  count_pixels(state, size);
}

void BM_ReadMap(benchmark::State& state, MapKind kind) {
  const auto size = static_cast<std::int32_t>(state.range(0));
  const std::string path = level_prefix(kind, size) + std::string(suffix::kAttributeMap);
  for (auto _ : state) {
    AttributeMap map;
    if (read_attribute_map(path, map) != ConversionResult::kSuccess) {
      state.SkipWithError("cannot read the attribute map");
      break;
    }
    benchmark::DoNotOptimize(map.contents.get());
  }
  count_pixels(state, size);
}

// The 8192 x 8192 maps are 200 MB each: about a second of runs per case,
// which is a few iterations for them, says enough.
void few_iterations(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0)->Arg(4096)->Arg(8192);
}

BENCHMARK_CAPTURE(BM_ReadMap, terrain, MapKind::kTerrain)->Apply(few_iterations);
BENCHMARK_CAPTURE(BM_Convert, terrain, MapKind::kTerrain)->Apply(few_iterations);
BENCHMARK_CAPTURE(BM_ReadMap, noise, MapKind::kNoise)->Apply(few_iterations);
BENCHMARK_CAPTURE(BM_Convert, noise, MapKind::kNoise)->Apply(few_iterations);

}  // namespace
}  // namespace zur::bench

BENCHMARK_MAIN();
