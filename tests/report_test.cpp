// SPDX-License-Identifier: MIT
#include "engine/attrmap/report.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <initializer_list>
#include <utility>

#include "engine/level/batch.h"
#include "tests/support/level_sources.h"
#include "tests/support/report_texts.h"
#include "tests/support/scripted_prompts.h"

namespace zur {
namespace {

using test::kAirHint;
using test::kRule;
using test::Prompt;
using test::TempDir;
using test::TgaBuilder;

const std::string kInfoQuestion = "\n\nDo you want to see info on conversion?";
const std::string kExplosiveHint = "What an EXPLOSIVE level you've made! :)";
const std::string kWallHint = "Lots of indestructable wall.. Uuh.";
const std::string kRepairHint =
    "Are you going to just repair all day long?\nOver 1/10 of your level is repairing place..";

std::string completion(const std::string& prefix) {
  return "Conversion succesfully completed for level:\n" + kRule + "\n" + prefix + ".lev";
}

// A clock that gives these readings in turn and then keeps the last one.
MillisecondClock readings(std::deque<std::uint32_t> values) {
  return [values]() mutable {
    const std::uint32_t value = values.front();
    if (values.size() > 1) values.pop_front();
    return value;
  };
}

TEST(ConversionReport, FullSequenceForAHundredByHundredMapOfBasicLand) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(100, 100, {0, 152, 0}));
  test::ScriptedPrompts prompts;
  prompts.info_answers = {true};
  Converter converter(prompts, platform::default_system(), readings({1000, 3999}));
  ASSERT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
  ASSERT_EQ(prompts.prompts.size(), 3u);
  EXPECT_EQ(prompts.prompts[0].kind, Prompt::Kind::Question);
  EXPECT_EQ(prompts.prompts[0].text, completion(dir.prefix("level")) + kInfoQuestion);
  EXPECT_EQ(prompts.prompts[0].icon, Icon::Information);
  EXPECT_EQ(prompts.prompts[1].kind, Prompt::Kind::Message);
  EXPECT_EQ(prompts.prompts[1].text,
            "Attribute map info:\nPacked: 20, Unpacked: 10000\nRatio: 500 (bigger is better)\n\n"
            "Level is taking memory: 0.0 megabytes\n\nObjects (turrets, gates etc.)\nin the level: "
            "0\n\nAmounts for certain attributes:\nEmpty: 0.0 %\nBasic land: 100.0 %\nWater: 0.0 "
            "%\nRepair place: 0.0 %\n\nConversion time: 2 seconds");
  EXPECT_EQ(prompts.prompts[1].icon, Icon::None);
  EXPECT_EQ(prompts.prompts[2].kind, Prompt::Kind::Message);
  EXPECT_EQ(prompts.prompts[2].text, kAirHint);
  EXPECT_EQ(prompts.prompts[2].icon, Icon::None);
}

TEST(ConversionReport, WarningsAreListedWithATotal) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(2, 2, {1, 1, 1}),
                    test::complete_config({{"MAKER", ""}}));
  test::ScriptedPrompts prompts;
  prompts.illegal_colour_answers = {true};
  Converter converter(prompts, platform::default_system());
  ASSERT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
  ASSERT_GE(prompts.prompts.size(), 2u);
  EXPECT_EQ(prompts.prompts[1].text, completion(dir.prefix("level")) +
                                         "\n\nWarnings:\n - Not all config parameters were found\n"
                                         " - You had illegal colors in your attribute map\n"
                                         "Total 2 warnings" +
                                         kInfoQuestion);
}

TEST(ConversionReport, OneWarningKeepsThePluralTotal) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(2, 2, {1, 1, 1}));
  test::ScriptedPrompts prompts;
  prompts.illegal_colour_answers = {true};
  Converter converter(prompts, platform::default_system());
  ASSERT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
  ASSERT_GE(prompts.prompts.size(), 2u);
  EXPECT_EQ(prompts.prompts[1].text,
            completion(dir.prefix("level")) +
                "\n\nWarnings:\n - You had illegal colors in your attribute map\nTotal 1 warnings" +
                kInfoQuestion);
}

TEST(ConversionReport, MissingKeywordsAreListedInTableOrder) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(4, 4),
                    test::complete_config({{"RANDOMSEED", ""}, {"MAKER", ""}, {"GGSHAPE", ""}}));
  test::ScriptedPrompts prompts;
  prompts.info_answers = {true};
  Converter converter(prompts, platform::default_system(), readings({0}));
  ASSERT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
  ASSERT_GE(prompts.prompts.size(), 2u);
  const std::string& text = prompts.prompts[1].text;
  const std::string block =
      "Conversion time: 0 seconds\n\n--------------------------------------------\n\nThese "
      "parameters were NOT found\nin the config file (txt):\n\n - MAKER\n - GGSHAPE\n"
      " - RANDOMSEED\n";
  ASSERT_GE(text.size(), block.size());
  EXPECT_EQ(text.substr(text.size() - block.size()), block);
}

TEST(ConversionReport, NoStatisticsOnNoButHintsStill) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(10, 10));
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  ASSERT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
  ASSERT_EQ(prompts.prompts.size(), 2u);
  EXPECT_EQ(prompts.prompts[0].kind, Prompt::Kind::Question);
  EXPECT_EQ(prompts.prompts[1].text, kAirHint);  // fewer than 1024 pixels, all air
}

TEST(ConversionReport, MapWithoutPixelsShowsZeroRatio) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(0, 0));
  test::ScriptedPrompts prompts;
  prompts.info_answers = {true};
  Converter converter(prompts, platform::default_system(), readings({0}));
  ASSERT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
  ASSERT_GE(prompts.prompts.size(), 2u);
  EXPECT_EQ(prompts.prompts[1].text,
            "Attribute map info:\nPacked: 0, Unpacked: 0\nRatio: 0 (bigger is better)\n\nLevel is "
            "taking memory: 0.0 megabytes\n\nObjects (turrets, gates etc.)\nin the level: "
            "0\n\nAmounts for certain attributes:\nEmpty: 0.0 %\nBasic land: 0.0 %\nWater: 0.0 "
            "%\nRepair place: 0.0 %\n\nConversion time: 0 seconds");
}

TEST(ConversionReport, TimeCountsFromTheJobStartAcrossAClockWrap) {
  const struct {
    std::uint32_t start, end;
    const char* shown;
  } cases[] = {
      {0, 2999, "Conversion time: 2 seconds"},
      {500, 3500, "Conversion time: 3 seconds"},
      {0xFFFFF000u, 3000, "Conversion time: 7 seconds"},  // 4096 + 3000 ms
      {0xFFFFFFFFu, 999, "Conversion time: 1 seconds"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    test::write_level(dir, "level", TgaBuilder(1, 1));
    test::ScriptedPrompts prompts;
    prompts.info_answers = {true};
    Converter converter(prompts, platform::default_system(), readings({c.start, c.end}));
    ASSERT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
    ASSERT_GE(prompts.prompts.size(), 2u);
    const std::string& text = prompts.prompts[1].text;
    EXPECT_NE(text.find(c.shown), std::string::npos) << c.start << " to " << c.end << ":\n" << text;
  }
}

// The time covers the illegal colour question and none of the report. The
// clock is read when the job starts, when the pass starts and (on a map this
// small, never during the pass) once more for the report.
TEST(ConversionReport, ClockIsReadAfterTheQuestionAndBeforeTheReport) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(1, 1, {1, 1, 1}));
  test::ScriptedPrompts prompts;
  prompts.illegal_colour_answers = {true};
  std::vector<std::size_t> prompts_shown_at_reading;
  Converter converter(prompts, platform::default_system(), [&] {
    prompts_shown_at_reading.push_back(prompts.prompts.size());
    return 0u;
  });
  ASSERT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
  EXPECT_EQ(prompts_shown_at_reading, (std::vector<std::size_t>{0, 0, 1}));
}

TEST(ConversionReport, CompletionCarriesALongPrefixWhole) {
  TempDir dir;
  std::filesystem::path folder = dir.path();
  for (int i = 0; i < 3; ++i) folder /= std::string(200, static_cast<char>('a' + i));
  std::filesystem::create_directories(folder);
  const std::string prefix = (folder / "level").string();
  test::write_level(dir, std::filesystem::relative(folder / "level", dir.path()).string(),
                    TgaBuilder(1, 1));
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  ASSERT_EQ(converter.run_job(prefix), ConversionResult::kSuccess);
  ASSERT_FALSE(prompts.prompts.empty());
  EXPECT_EQ(prompts.prompts[0].text, completion(prefix) + kInfoQuestion);
}

TEST(MemoryEstimate, RoundsTheWidthUpToAPowerOfTwo) {
  const struct {
    std::int32_t width, height;
    std::int64_t bytes;
  } cases[] = {
      {640, 480, 1024 * 494 * 3},
      {0, 0, 16 * 14 * 3},
      {2, 5, 16 * 19 * 3},
      {3, 0, 32 * 14 * 3},
      {18, 0, 32 * 14 * 3},
      {19, 0, 64 * 14 * 3},
      {1010, 10, 1024 * 24 * 3},
      {1011, 10, 2048 * 24 * 3},
      {65535, 65535, std::int64_t{131072} * 65549 * 3},  // beyond 32 bits
  };
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(memory_estimate_megabytes(c.width, c.height),
                    static_cast<float>(static_cast<double>(c.bytes) / 1048576.0))
        << c.width << " x " << c.height;
  }
}

FoundFlags all_found() {
  FoundFlags found;
  found.fill(true);
  return found;
}

// Facts for a map whose histogram holds these many 1024-pixel blocks per code.
MapFacts facts_in_blocks(std::initializer_list<std::pair<int, std::int64_t>> blocks) {
  MapFacts facts{1000, 1000, 0, {}};
  for (const auto& [code, count] : blocks) {
    facts.packing.histogram[code] = count * 1024;
    facts.packing.unpacked += count * 1024;
  }
  facts.packing.packed = 2;
  return facts;
}

std::string shares_of(const std::string& statistics) {
  const std::size_t from = statistics.find("Empty:");
  return statistics.substr(from, statistics.find("\n\nConversion") - from);
}

TEST(StatisticsText, SharesOfTheReportGroups) {
  const struct {
    const char* name;
    MapFacts facts;
    const char* shares;
  } cases[] = {
      {"half air, half land", facts_in_blocks({{0, 512}, {1, 512}}),
       "Empty: 50.0 %\nBasic land: 50.0 %\nWater: 0.0 %\nRepair place: 0.0 %"},
      {"every group code",
       facts_in_blocks({{0, 30},
                        {1, 7},
                        {24, 3},
                        {11, 5},
                        {12, 5},
                        {13, 5},
                        {14, 5},
                        {15, 5},
                        {16, 5},
                        {17, 5},
                        {18, 5},
                        {4, 2},
                        {27, 2},
                        {28, 2},
                        {29, 2},
                        {30, 2},
                        {31, 2},
                        {2, 8}}),
       "Empty: 30.0 %\nBasic land: 10.0 %\nWater: 40.0 %\nRepair place: 12.0 %"},
      {"thirds", facts_in_blocks({{0, 1}, {11, 1}, {5, 1}}),
       "Empty: 33.3 %\nBasic land: 0.0 %\nWater: 33.3 %\nRepair place: 0.0 %"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shares_of(statistics_text(c.facts, all_found(), 0)), c.shares) << c.name;
  }
}

TEST(StatisticsText, PartialBlocksAreDropped) {
  MapFacts facts{30, 30, 0, {}};
  facts.packing.histogram[0] = 900;
  facts.packing.unpacked = 900;
  facts.packing.packed = 2;
  EXPECT_EQ(shares_of(statistics_text(facts, all_found(), 0)),
            "Empty: 0.0 %\nBasic land: 0.0 %\nWater: 0.0 %\nRepair place: 0.0 %");
}

TEST(StatisticsText, WholeTextForALargeMap) {
  MapFacts facts{640, 480, 1024, {}};
  facts.packing.packed = 600;
  facts.packing.unpacked = std::int64_t{65535} * 65535;  // beyond 32 bits
  facts.packing.histogram[0] = facts.packing.unpacked;
  EXPECT_EQ(statistics_text(facts, all_found(), 4000000),
            "Attribute map info:\nPacked: 600, Unpacked: 4294836225\nRatio: 7158060 (bigger is "
            "better)\n\nLevel is taking memory: 1.4 megabytes\n\nObjects (turrets, gates "
            "etc.)\nin the level: 1024\n\nAmounts for certain attributes:\nEmpty: 100.0 "
            "%\nBasic land: 0.0 %\nWater: 0.0 %\nRepair place: 0.0 %\n\nConversion time: "
            "4000000 seconds");
}

TEST(ConversionHints, AtMostOneOfExplosiveWallAndRepairAfterTheAirHint) {
  const struct {
    const char* name;
    MapFacts facts;
    std::vector<std::string> shown;
  } cases[] = {
      {"all air", facts_in_blocks({{0, 10}}), {}},
      {"no air", facts_in_blocks({{1, 10}}), {kAirHint}},
      {"air below one hundredth", facts_in_blocks({{0, 1}, {1, 199}}), {kAirHint}},
      {"air at one hundredth", facts_in_blocks({{0, 1}, {1, 99}}), {}},
      {"explosive two tenths", facts_in_blocks({{0, 8}, {5, 1}, {6, 1}}), {kExplosiveHint}},
      {"explosive one tenth", facts_in_blocks({{0, 9}, {6, 1}}), {}},
      {"explosive just under two tenths", facts_in_blocks({{0, 81}, {5, 19}}), {}},
      {"explosive and repair", facts_in_blocks({{0, 4}, {5, 3}, {4, 3}}), {kExplosiveHint}},
      {"wall four tenths", facts_in_blocks({{0, 6}, {3, 4}}), {kWallHint}},
      {"wall three tenths", facts_in_blocks({{0, 7}, {3, 3}}), {}},
      {"wall and repair", facts_in_blocks({{0, 2}, {3, 5}, {4, 3}}), {kWallHint}},
      {"repair two tenths", facts_in_blocks({{0, 8}, {4, 2}}), {kRepairHint}},
      {"repair one tenth", facts_in_blocks({{0, 9}, {4, 1}}), {}},
      {"other repair codes", facts_in_blocks({{0, 5}, {27, 5}}), {}},
      {"no air and explosive", facts_in_blocks({{1, 5}, {6, 5}}), {kAirHint, kExplosiveHint}},
  };
  for (const auto& c : cases) {
    test::ScriptedPrompts prompts;
    Conversion conversion(prompts, platform::default_system(), [] { return 0u; });
    conversion.prefix = "level";
    conversion.level_file = "level.lev";
    show_conversion_report(c.facts, conversion);
    std::vector<std::string> shown;
    for (std::size_t i = 1; i < prompts.prompts.size(); ++i) {
      shown.push_back(prompts.prompts[i].text);
      EXPECT_EQ(prompts.prompts[i].icon, Icon::None) << c.name;
    }
    EXPECT_EQ(shown, c.shown) << c.name;
  }
}

TEST(ConversionHints, RepairHintIsAQuestionWhoseAnswerChangesNothing) {
  for (bool answer : {false, true}) {
    TempDir dir;
    test::write_level(dir, "level", TgaBuilder(64, 64, {168, 168, 168}).set(0, 0, {0, 0, 0}));
    test::ScriptedPrompts prompts;
    prompts.repair_answers = {answer};
    Converter converter(prompts, platform::default_system());
    EXPECT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
    ASSERT_EQ(prompts.prompts.size(), 3u);
    EXPECT_EQ(prompts.prompts[1].text, kAirHint);
    EXPECT_EQ(prompts.prompts[2].kind, Prompt::Kind::Question);
    EXPECT_EQ(prompts.prompts[2].text, kRepairHint);
    EXPECT_TRUE(prompts.repair_answers.empty());
  }
}

}  // namespace
}  // namespace zur
