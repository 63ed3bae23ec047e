// SPDX-License-Identifier: MIT
#include "engine/level/batch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "tests/support/faulty_system.h"
#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"
#include "zur/convert.h"

namespace zur {
namespace {

using Items = std::vector<std::string>;

TEST(SplitBatch, SplitsAtBarsAndTrimsWhiteSpace) {
  const struct {
    const char* text;
    Items items;
  } cases[] = {
      {"", {""}},
      {"jungle", {"jungle"}},
      {"  jungle \t", {"jungle"}},
      {"jungle|", {"jungle", ""}},
      {"a||b", {"a", "", "b"}},
      {" a | b ", {"a", "b"}},
      {"a\t|\nb\r\n", {"a", "b"}},
      {"my level|x", {"my level", "x"}},
      {"|", {"", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(split_batch(c.text), c.items) << "text: \"" << c.text << "\"";
  }
}

TEST(ConversionJob, EmptyPrefixAsksForAFilenameAndLeavesProgressAlone) {
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  EXPECT_EQ(converter.run_job(""), ConversionResult::kNoFilename);
  ASSERT_EQ(prompts.prompts.size(), 1u);
  EXPECT_EQ(prompts.prompts[0].text, "Conversion failed.\n\nGive a filename.");
  EXPECT_EQ(prompts.prompts[0].icon, Icon::Error);
  EXPECT_TRUE(prompts.progress.empty());
}

TEST(ConversionJob, FailedLevelDoesNotStopTheNextAndLeavesNoLevelFile) {
  test::TempDir dir;
  test::write_level(dir, "good", test::TgaBuilder(4, 4));
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  EXPECT_EQ(converter.run_job(dir.prefix("missing")), ConversionResult::kConfigFileMissing);
  EXPECT_EQ(converter.run_job(dir.prefix("good")), ConversionResult::kSuccess);
  EXPECT_FALSE(dir.exists("missing.lev"));
  EXPECT_TRUE(dir.exists("good.lev"));
  EXPECT_EQ(prompts.messages().front(),
            "Conversion failed.\nLevel config file not found.\n\nFile missing:\n" +
                dir.prefix("missing") + ".txt");
}

TEST(ConversionJob, StartTimeIsTheClockReadingTakenFirst) {
  test::ScriptedPrompts prompts;
  std::uint32_t next = 0xFFFFFFFEu;
  int readings = 0;
  Converter converter(prompts, platform::default_system(), [&] {
    ++readings;
    return next++;
  });
  converter.run_job("");
  EXPECT_EQ(converter.last().job_start_ms, 0xFFFFFFFEu);
  EXPECT_EQ(readings, 1);
  converter.run_job("");
  EXPECT_EQ(converter.last().job_start_ms, 0xFFFFFFFFu);
  converter.run_job("");
  EXPECT_EQ(converter.last().job_start_ms, 0u);
}

TEST(ConversionJob, PrefixLongerThanAnyFixedBufferIsConverted) {
  test::TempDir dir;
  std::filesystem::path folder = dir.path();
  for (int i = 0; i < 8; ++i) folder /= std::string(150, static_cast<char>('a' + i));
  std::filesystem::create_directories(folder);
  const std::string name(200, 'n');
  const std::string prefix = (folder / name).string();
  ASSERT_GT(prefix.size(), 1400u);
  test::write_level(dir, std::filesystem::relative(folder / name, dir.path()).string(),
                    test::TgaBuilder(4, 4));
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  EXPECT_EQ(converter.run_job(prefix), ConversionResult::kSuccess);
  EXPECT_TRUE(std::filesystem::exists(prefix + ".lev"));

  std::filesystem::remove(prefix + ".TXT");
  EXPECT_EQ(converter.run_job(prefix), ConversionResult::kConfigFileMissing);
  EXPECT_EQ(
      prompts.messages().back(),
      "Conversion failed.\nLevel config file not found.\n\nFile missing:\n" + prefix + ".txt");
  EXPECT_FALSE(std::filesystem::exists(prefix + ".lev"));
}

TEST(ConversionJob, NameTooLongForTheFileSystemCannotBeAccessed) {
  test::TempDir dir;
  const struct {
    const char* name;
    std::string prefix;
  } cases[] = {
      {"long last component", dir.prefix(std::string(300, 'x'))},
      {"long path", dir.prefix(std::string(5000, 'y'))},
      {"long path of folders", dir.prefix([] {
         std::string path;
         for (int i = 0; i < 40; ++i) path += std::string(200, 'z') + "/";
         return path + "level";
       }())},
  };
  for (const auto& c : cases) {
    test::ScriptedPrompts prompts;
    Converter converter(prompts, platform::default_system());
    EXPECT_EQ(converter.run_job(c.prefix), ConversionResult::kCannotAccessOutput) << c.name;
    // The fixed message, and apart from it the system's reason.
    const std::string level_file = c.prefix + ".lev";
    ASSERT_EQ(converter.last().reasons.size(), 1u) << c.name;
    const Error& reason = converter.last().reasons[0];
    EXPECT_TRUE(reason.code) << c.name;
    EXPECT_EQ(prompts.messages(),
              std::vector<std::string>{"Conversion failed.\n\nCould not access \n" + level_file})
        << c.name;
    EXPECT_EQ(prompts.prompts.back().reasons,
              std::vector<std::string>{"cannot write " + level_file + ": " + reason.reason})
        << c.name;
  }
}

TEST(ConversionJob, PrefixWithAZeroByteTouchesNoOtherFile) {
  test::TempDir dir;
  dir.write("victim", std::string("precious"));
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  EXPECT_EQ(converter.run_job(dir.prefix("victim") + std::string(1, '\0') + "x"),
            ConversionResult::kCannotAccessOutput);
  ASSERT_TRUE(dir.exists("victim"));
  EXPECT_EQ(dir.read("victim"),
            (std::vector<std::uint8_t>{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
}

TEST(ConversionJob, SuccessShowsOnlyTheReportAndResetsProgress) {
  test::TempDir dir;
  test::write_level(dir, "lvl", test::TgaBuilder(4, 4));
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  EXPECT_EQ(converter.run_job(dir.prefix("lvl")), ConversionResult::kSuccess);
  EXPECT_EQ(converter.run_job(""), ConversionResult::kNoFilename);
  ASSERT_FALSE(prompts.progress.empty());
  EXPECT_EQ(prompts.progress.back(), 0);
  EXPECT_EQ(prompts.messages().back(), "Conversion failed.\n\nGive a filename.");
  EXPECT_EQ(converter.last().prefix, "");
}

// The batch reaches every file through the system of its options: the
// depfile, and each level's sources and level file.
TEST(ConvertLevels, ReachesFilesThroughTheSystemOfItsOptions) {
  test::TempDir dir;
  test::write_level(dir, "lvl", test::TgaBuilder(4, 4));
  const std::vector<std::string> levels = {dir.prefix("lvl")};
  test::ScriptedPrompts prompts;
  LevelNamingPrompts batch(prompts);
  BatchOptions options;
  options.depfile = dir.prefix("lvl.d");

  test::FaultySystem full_disk;
  full_disk.fail_writes_at(0);
  options.system = &full_disk;
  EXPECT_EQ(convert_levels(levels, batch, options).failed, levels);
  EXPECT_FALSE(dir.exists("lvl.lev"));
  EXPECT_FALSE(dir.exists("lvl.d"));

  test::FaultySystem no_new_files;
  no_new_files.create_error = std::make_error_code(std::errc::permission_denied);
  options.system = &no_new_files;
  EXPECT_EQ(convert_levels(levels, batch, options).failed, levels);
  EXPECT_EQ(no_new_files.steps(), 1);  // the depfile, refused before the level is read

  options.system = BatchOptions().system;
  EXPECT_EQ(options.system, &platform::default_system());
  EXPECT_TRUE(convert_levels(levels, batch, options).failed.empty());
  EXPECT_TRUE(dir.exists("lvl.lev"));
  EXPECT_TRUE(dir.exists("lvl.d"));
}

}  // namespace
}  // namespace zur
