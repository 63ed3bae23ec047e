// SPDX-License-Identifier: MIT
// Conversion by the zurconv command on large attribute maps, beside the floor
// any conversion stands on: streaming the same map file through one reused
// buffer. Reports, per map, the floor, the conversion's time and its ratio to
// the floor, throughput, time per pixel, processor time (user and system) of
// both, and the converter's peak memory. With ZUR_BENCH_BASELINE naming
// another zurconv, the BM_VersusBaseline cases time the two in turns.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_levels.h"
#include "engine/conversion/level_format.h"

extern char** environ;

namespace zur::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadBlockBytes = std::size_t{1} << 20;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// User and system time: on a machine shared with other work, wall-clock time
// also counts the time spent waiting for a processor.
double cpu_seconds(const struct rusage& usage) {
  auto seconds = [](const timeval& time) { return double(time.tv_sec) + time.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double own_cpu_seconds() {
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  return cpu_seconds(usage);
}

struct Timing {
  bool done = false;
  double seconds = 0;
  double cpu_seconds = 0;
};

// Reads the whole file through one reused buffer, like `cat file > /dev/null`.
Timing stream_read(const std::string& path) {
  static const std::unique_ptr<char[]> buffer(new char[kReadBlockBytes]);
  Timing timing;
  const double cpu_start = own_cpu_seconds();
  const Clock::time_point start = Clock::now();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return timing;
  ssize_t got;
  while ((got = ::read(fd, buffer.get(), kReadBlockBytes)) > 0) {
    benchmark::DoNotOptimize(buffer.get());
  }
  ::close(fd);
  timing = {got == 0, seconds_since(start), own_cpu_seconds() - cpu_start};
  return timing;
}

// The median of three reads, by wall-clock time.
Timing median_stream_read(const std::string& path) {
  std::array<Timing, 3> timings{};
  for (Timing& timing : timings) timing = stream_read(path);
  std::sort(timings.begin(), timings.end(),
            [](const Timing& a, const Timing& b) { return a.seconds < b.seconds; });
  return timings[1];
}

// The zurconv to measure: the one built beside the benchmark, or the one
// ZUR_BENCH_ZURCONV names (to measure another version the same way).
std::string zurconv_path() {
  const char* other = std::getenv("ZUR_BENCH_ZURCONV");
  return other != nullptr ? other : ZURCONV_PATH;
}

struct ChildRun {
  Timing timing;
  double peak_rss_mib = 0;
};

// Converts the level with `program -q -n`, its output discarded.
ChildRun run_zurconv(const std::string& program, const std::string& prefix) {
  std::vector<std::string> arguments = {program, "-q", "-n", prefix};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  ChildRun run;
  const Clock::time_point start = Clock::now();
  pid_t child = 0;
  const bool spawned =
      posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!spawned) return run;
  int status = 0;
  struct rusage usage {};
  if (::wait4(child, &status, 0, &usage) != child) return run;
  run.timing = {WIFEXITED(status) && WEXITSTATUS(status) == 0, seconds_since(start),
                cpu_seconds(usage)};
  run.peak_rss_mib = static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
  return run;
}

void BM_Convert(benchmark::State& state, MapKind kind) {
  const auto size = static_cast<std::int32_t>(state.range(0));
  const std::string& prefix = level_prefix(kind, size);
  const Timing floor = median_stream_read(prefix + std::string(suffix::kAttributeMap));
  if (!floor.done) {
    state.SkipWithError("cannot read the attribute map");
    return;
  }
  double seconds = 0, cpu_seconds = 0, peak_rss_mib = 0;
  for (auto _ : state) {
    const ChildRun run = run_zurconv(zurconv_path(), prefix);
    if (!run.timing.done) {
      state.SkipWithError("zurconv did not convert the level");
      return;
    }
    state.SetIterationTime(run.timing.seconds);
    seconds += run.timing.seconds;
    cpu_seconds += run.timing.cpu_seconds;
    peak_rss_mib = std::max(peak_rss_mib, run.peak_rss_mib);
  }
  const double runs = double(state.iterations());
  const double pixels = double(size) * size * runs;
  state.counters["floor_ms"] = floor.seconds * 1e3;
  state.counters["x_floor"] = seconds / runs / floor.seconds;
  state.counters["MP/s"] = pixels / seconds / 1e6;
  state.counters["ns/px"] = seconds / pixels * 1e9;
  state.counters["cpu_ms"] = cpu_seconds / runs * 1e3;
  state.counters["floor_cpu_ms"] = floor.cpu_seconds * 1e3;
  state.counters["peak_RSS_MiB"] = peak_rss_mib;
}

// One conversion per repetition: a 16384 x 16384 map is 768 MiB.
void sizes(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(3);
  b->ReportAggregatesOnly(true)->Arg(4096)->Arg(8192)->Arg(16384);
}

BENCHMARK_CAPTURE(BM_Convert, terrain, MapKind::kTerrain)->Apply(sizes);
BENCHMARK_CAPTURE(BM_Convert, noise, MapKind::kNoise)->Apply(sizes);

// Each repetition converts the map with the baseline and with the measured
// zurconv, one right after the other and each first in turn: both meet the
// same load, so their ratio (x_baseline) holds still where either time
// varies by a tenth from one run to the next.
void BM_VersusBaseline(benchmark::State& state, MapKind kind, const std::string& baseline) {
  const std::string& prefix = level_prefix(kind, static_cast<std::int32_t>(state.range(0)));
  static bool baseline_first = false;
  double seconds = 0, baseline_seconds = 0;
  for (auto _ : state) {
    baseline_first = !baseline_first;
    const ChildRun first = run_zurconv(baseline_first ? baseline : zurconv_path(), prefix);
    const ChildRun second = run_zurconv(baseline_first ? zurconv_path() : baseline, prefix);
    const ChildRun& measured = baseline_first ? second : first;
    const ChildRun& base = baseline_first ? first : second;
    if (!measured.timing.done || !base.timing.done) {
      state.SkipWithError("zurconv did not convert the level");
      return;
    }
    state.SetIterationTime(measured.timing.seconds);
    seconds += measured.timing.seconds;
    baseline_seconds += base.timing.seconds;
  }
  state.counters["baseline_ms"] = baseline_seconds / double(state.iterations()) * 1e3;
  state.counters["x_baseline"] = seconds / baseline_seconds;
}

[[maybe_unused]] const bool kVersusBaseline = [] {
  const char* baseline = std::getenv("ZUR_BENCH_BASELINE");
  if (baseline == nullptr) return false;
  for (const auto& [name, kind] :
       {std::pair{"terrain", MapKind::kTerrain}, std::pair{"noise", MapKind::kNoise}}) {
    benchmark::RegisterBenchmark((std::string("BM_VersusBaseline/") + name).c_str(),
                                 BM_VersusBaseline, kind, std::string(baseline))
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(15)
        ->ComputeStatistics(
            "min",
            [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
        ->ReportAggregatesOnly(true)
        ->Arg(8192);
  }
  return true;
}();

}  // namespace
}  // namespace zur::bench

BENCHMARK_MAIN();
