// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/base/error.h"
#include "engine/base/platform.h"
#include "engine/level/level_unpacker.h"
#include "tests/support/faulty_system.h"
#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"
#include "zur/check.h"
#include "zur/convert.h"
#include "zur/level_file.h"

namespace zur {
namespace {

// Against the path library's own parent-and-name join, which the prefix
// follows on the system's path syntax.
TEST(UnpackPrefix, IsTheLevelsNameWithoutLevInTheFolderAskedFor) {
  const struct {
    const char* level;
    const char* folder;
  } cases[] = {
      {"jungle.lev", ""},
      {"levels/jungle.lev", ""},
      {"levels//jungle.LEV", ""},
      {"/jungle.lev", ""},
      {"./a/b/jungle.Lev", ""},
      {"jungle.lev", "out"},
      {"levels/jungle.lev", "out/"},
      {"jungle", ""},
      {".lev", ""},
      {"a.lev.lev", "x/y"},
      {"levels/my level.lev", "/"},
      {"C:jungle.lev", ""},
      {"C:\\levels\\jungle.lev", ""},
      {"levels\\jungle.lev", "C:"},
      {"jungle.levx", "a\\b"},
  };
  for (const auto& c : cases) {
    const std::filesystem::path level(c.level);
    std::string name = level.filename().string();
    if (name.size() > 4 &&
        (name.ends_with(".lev") || name.ends_with(".LEV") || name.ends_with(".Lev"))) {
      name.resize(name.size() - 4);
    }
    const std::filesystem::path folder =
        *c.folder == '\0' ? level.parent_path() : std::filesystem::path(c.folder);
    EXPECT_EQ(unpack_prefix(c.level, c.folder), (folder / name).string())
        << c.level << " in \"" << c.folder << "\"";
  }
}

// A front end that shows only messages gets a failure as one message, the
// reasons under the fixed text.
TEST(UserPrompts, AFailureIsByDefaultOneMessageWithTheReasonsUnderItsText) {
  struct MessagesOnly : UserPrompts {
    std::vector<std::string> shown;
    void show_message(const std::string& text, Icon) override { shown.push_back(text); }
    bool ask_yes_no(const std::string&, Icon, Question) override { return false; }
    void set_progress(int) override {}
  };
  const Error full =
      system_error("cannot write", "a.lev", std::make_error_code(std::errc::no_space_on_device));
  const Error stays{"cannot remove the old level file", "a.lev", "in use", {}, {}};
  const struct {
    std::vector<Error> reasons;
    std::string shown;
  } cases[] = {
      {{full}, "Failed.\n\n" + full.text()},
      {{full, stays},
       "Failed.\n\n" + full.text() + "\ncannot remove the old level file a.lev: in use"},
  };
  for (const auto& c : cases) {
    MessagesOnly prompts;
    prompts.show_failure("Failed.", Icon::Error, c.reasons);
    EXPECT_EQ(prompts.shown, std::vector<std::string>{c.shown});
  }
}

TEST(ShownLevel, NamesAnEmptyLevelByItsQuotes) {
  EXPECT_EQ(shown_level(""), "\"\"");
  EXPECT_EQ(shown_level(" "), " ");
  EXPECT_EQ(shown_level("levels/jungle.txt"), "levels/jungle.txt");
}

// A system that maps no file, so a level file read through it cannot be read.
class NoMapping final : public platform::SystemWrapper {
 public:
  using SystemWrapper::SystemWrapper;
  const std::uint8_t* map_read_only(platform::FileHandle, std::uint64_t) override {
    return nullptr;
  }
};

// Takes every row and keeps none.
class NoRows final : public RowSink {
 public:
  std::uint32_t start(std::uint32_t, std::uint32_t) override { return 1; }
  void row(const std::uint8_t*) override {}
  bool finish() override { return true; }
};

// Every public call that reaches files reaches them through the system its
// options name, and through the real one when they name none.
TEST(PublicInterface, ReachesFilesThroughTheSystemItIsGiven) {
  test::TempDir dir;
  // The map's size section tells the unpack and the picture the map's width.
  test::write_level(dir, "lvl", test::TgaBuilder(4, 4),
                    test::complete_config({{"GGLEVEL", "yes"}}));
  test::ScriptedPrompts prompts;
  LevelNamingPrompts batch(prompts);
  const std::vector<std::string> levels = {dir.prefix("lvl")};
  ASSERT_TRUE(convert_levels(levels, batch).failed.empty());
  const std::string level_file = dir.prefix("lvl.lev");

  test::FaultySystem unreadable;
  unreadable.fail_reads_at(0, std::make_error_code(std::errc::io_error));
  CheckOptions check;
  const auto missing = [&] {
    const LevelCheck checked = check_level(dir.prefix("lvl"), check);
    return std::count_if(checked.problems.begin(), checked.problems.end(),
                         [](const Problem& p) { return p.code == ProblemCode::kSourceMissing; });
  };
  EXPECT_EQ(missing(), 0);
  check.system = &unreadable;
  EXPECT_EQ(missing(), 3);  // config, map and the level picture a config read as empty needs

  NoMapping no_mapping(platform::default_system());
  EXPECT_TRUE(read_level_info(level_file, false).status.ok());
  EXPECT_FALSE(read_level_info(level_file, false, no_mapping).status.ok());
  NoRows rows;
  EXPECT_TRUE(paint_level_file(level_file, rows));
  EXPECT_FALSE(paint_level_file(level_file, rows, no_mapping));

  test::FaultySystem full_disk;
  full_disk.fail_writes_at(0);
  UnpackOptions unpack;
  unpack.folder = dir.prefix("out");
  std::filesystem::create_directory(dir.path() / "out");
  unpack.system = &full_disk;
  const UnpackResult failed = unpack_level_file(level_file, unpack);
  EXPECT_TRUE(failed.failure);
  EXPECT_TRUE(failed.written.empty());
  unpack.system = UnpackOptions().system;
  EXPECT_FALSE(unpack_level_file(level_file, unpack).failure);
}

}  // namespace
}  // namespace zur
