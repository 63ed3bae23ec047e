// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/base/error.h"
#include "engine/level/level_unpacker.h"
#include "zur/convert.h"

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

}  // namespace
}  // namespace zur
