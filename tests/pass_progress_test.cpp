// SPDX-License-Identifier: MIT
#include "engine/attrmap/pass_progress.h"

#include <gtest/gtest.h>

#include "engine/attrmap/compiler.h"
#include "engine/level/batch.h"
#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"

namespace zur {
namespace {

// Whatever the map's width, and from 0.5 to 50 ns per pixel, the keep-alive
// comes at least every 100 ms and no more often than every 50 ms. The clock
// here runs with the pixels passed.
TEST(PassProgress, KeepsAliveEvery50To100MsWhateverTheWidthAndSpeed) {
  const struct {
    std::int32_t width, height;
    std::int64_t pixels_per_ms;
  } cases[] = {
      {65535, 4000, 2'000'000}, {65535, 200, 20'000}, {4096, 4096, 100'000},
      {1000, 20000, 20'000},    {100, 65535, 20'000},
  };
  for (const auto& c : cases) {
    const std::string row = std::to_string(c.width) + " x " + std::to_string(c.height) + " at " +
                            std::to_string(c.pixels_per_ms) + " pixels/ms";
    test::ScriptedPrompts prompts;
    std::int64_t pixels = 0;
    const MillisecondClock clock = [&] {
      return static_cast<std::uint32_t>(pixels / c.pixels_per_ms);
    };
    std::vector<std::uint32_t> times;
    PassProgress progress(prompts, clock, c.width, c.height);
    for (std::int32_t y = 0; y < c.height; ++y) {
      pixels += c.width;
      progress.row_done();
      if (prompts.kept_alive.size() > times.size()) times.push_back(clock());
    }
    const std::uint32_t total = clock();
    ASSERT_FALSE(times.empty()) << row;
    EXPECT_GE(times.size(), total / 100) << row;
    std::uint32_t before = 0;
    double done_before = 0;
    for (std::size_t i = 0; i < times.size(); ++i) {
      EXPECT_GE(times[i] - before, 50u) << row << ", call " << i;
      EXPECT_LE(times[i] - before, 100u) << row << ", call " << i;
      const double done = prompts.kept_alive[i].rows_done;
      EXPECT_GT(done, done_before) << row << ", call " << i;
      EXPECT_LE(done, 1.0) << row << ", call " << i;
      EXPECT_NEAR(done, static_cast<double>(times[i]) / total, 0.01) << row << ", call " << i;
      before = times[i];
      done_before = done;
    }
    EXPECT_LE(total - before, 100u) << row << ": the last call came too early";
  }
}

TEST(PassProgress, KeepsAliveDuringThePassBetween40And70) {
  test::TempDir dir;
  test::write_level(dir, "level", test::TgaBuilder(1024, 1024));
  test::ScriptedPrompts prompts;
  std::uint32_t ms = 0;
  Converter converter(prompts, platform::default_system(), [&] { return ms += 20; });
  ASSERT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
  EXPECT_EQ(prompts.progress, (std::vector<int>{40, 70, 100, 0}));
  ASSERT_GE(prompts.kept_alive.size(), 3u);
  for (const test::KeptAlive& call : prompts.kept_alive) {
    EXPECT_EQ(call.positions_before, 1u) << "at " << call.rows_done;
  }
}

TEST(PassProgress, BarPositionRisesFrom40AndStaysBelow70) {
  const struct {
    double rows_done;
    int position;
  } cases[] = {{-0.5, 40}, {0.0, 40}, {0.034, 41}, {0.5, 55}, {0.99, 69}, {1.0, 69}, {2.0, 69}};
  for (const auto& c : cases)
    EXPECT_EQ(progress::during_pass(c.rows_done), c.position) << c.rows_done;
}

}  // namespace
}  // namespace zur
