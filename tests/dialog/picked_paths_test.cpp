// SPDX-License-Identifier: MIT
#include "frontend/picked_paths.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>

namespace zur::dialog {
namespace {

TEST(JoinPrefixes, DropsEachFileNamesExtensionAndJoinsWithBars) {
  const struct {
    std::vector<std::string> paths;
    const char* prefixes;
  } cases[] = {
      {{"/levels/jungle.txt"}, "/levels/jungle"},
      {{"/levels/jungle.txt", "/levels/cave.TXT"}, "/levels/jungle | /levels/cave"},
      {{"/levels/old.jungle.txt"}, "/levels/old.jungle"},
      {{"/levels/jungle.tga"}, "/levels/jungle"},
      {{"/levels/jungle"}, "/levels/jungle"},
      {{"/my.levels/jungle"}, "/my.levels/jungle"},
      {{"/levels/my level.txt", "/b.txt", "/c.txt"}, "/levels/my level | /b | /c"},
      {{}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(join_prefixes(c.paths), c.prefixes) << "giving \"" << c.prefixes << "\"";
  }
}

TEST(WithDefaultExtension, AddsTxtToAFileNameWithoutExtension) {
  const struct {
    const char* typed;
    const char* path;
  } cases[] = {
      {"/levels/jungle", "/levels/jungle.txt"},
      {"/levels/jungle.txt", "/levels/jungle.txt"},
      {"/levels/JUNGLE.TXT", "/levels/JUNGLE.TXT"},
      {"/my.levels/jungle", "/my.levels/jungle.txt"},
      {"/levels/old.jungle", "/levels/old.jungle"},
      {"/levels/jungle.tga", "/levels/jungle.tga"},
      {"jungle", "jungle.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(with_default_extension(c.typed), c.path) << c.typed;
}

// On Windows a backslash separates folders too, and a drive is no name.
TEST(WithDefaultExtension, FindsTheFileNameAsTheSystemSpellsPaths) {
  const struct {
    const char* typed;
    PathSyntax syntax;
    const char* path;
  } cases[] = {
      {"C:\\my.levels\\jungle", PathSyntax::kWindows, "C:\\my.levels\\jungle.txt"},
      {"C:\\my.levels/jungle", PathSyntax::kWindows, "C:\\my.levels/jungle.txt"},
      {"C:jungle", PathSyntax::kWindows, "C:jungle.txt"},
      {"C:\\levels\\jungle.txt", PathSyntax::kWindows, "C:\\levels\\jungle.txt"},
      {"my.levels\\jungle", PathSyntax::kPosix, "my.levels\\jungle"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(with_default_extension(c.typed, c.syntax), c.path) << c.typed;
  }
}

// The picker with its answers scripted, over a file system of a few files.
struct ScriptedPicker {
  std::deque<std::optional<std::vector<std::string>>> picks;
  std::set<std::string> files = {"/l/jungle.txt", "/l/cave.txt"};
  std::vector<PickerStart> starts;
  std::vector<std::string> told;

  std::optional<std::vector<std::string>> run(PathSyntax syntax = PathSyntax::kPosix) {
    return pick_config_files(
        [&](const PickerStart& start) {
          starts.push_back(start);
          if (picks.empty()) return std::optional<std::vector<std::string>>();
          auto pick = picks.front();
          picks.pop_front();
          return pick;
        },
        [&](const std::string& path) { return files.count(path) == 1; },
        [&](const std::string& message) { told.push_back(message); }, syntax);
  }
};

TEST(PickConfigFiles, GivesTheExistingFilesPickedATypedNameStandingForItsTxt) {
  ScriptedPicker picker;
  picker.picks = {std::vector<std::string>{"/l/jungle", "/l/cave.txt"}};
  EXPECT_EQ(picker.run(), (std::vector<std::string>{"/l/jungle.txt", "/l/cave.txt"}));
  ASSERT_EQ(picker.starts.size(), 1u);
  EXPECT_EQ(picker.starts[0].folder, "");
  EXPECT_EQ(picker.starts[0].name, "");
  EXPECT_TRUE(picker.told.empty());
}

TEST(PickConfigFiles, CancelPicksNothing) {
  ScriptedPicker picker;
  picker.picks = {std::nullopt};
  EXPECT_EQ(picker.run(), std::nullopt);
  EXPECT_EQ(picker.starts.size(), 1u);
  EXPECT_TRUE(picker.told.empty());
}

// A name that names no file is told, and the picker opens again in its
// folder with the name as typed, until the user picks existing files or
// cancels.
TEST(PickConfigFiles, AMissingFileIsNamedAndThePickerReopensWhereItWasWithTheName) {
  ScriptedPicker picker;
  picker.picks = {std::vector<std::string>{"/l/jungle.txt", "/l/sub/nosuch"},
                  std::vector<std::string>{"/l/gone.txt"}, std::vector<std::string>{"/l/cave.txt"}};
  EXPECT_EQ(picker.run(), std::vector<std::string>{"/l/cave.txt"});
  EXPECT_EQ(picker.told, (std::vector<std::string>{
                             "Please choose an existing file.\n\nFile missing:\n/l/sub/nosuch.txt",
                             "Please choose an existing file.\n\nFile missing:\n/l/gone.txt"}));
  ASSERT_EQ(picker.starts.size(), 3u);
  EXPECT_EQ(picker.starts[1].folder, "/l/sub/");
  EXPECT_EQ(picker.starts[1].name, "nosuch");
  EXPECT_EQ(picker.starts[2].folder, "/l/");
  EXPECT_EQ(picker.starts[2].name, "gone.txt");

  ScriptedPicker windows;
  windows.picks = {std::vector<std::string>{"C:\\l.v\\nosuch"}, std::nullopt};
  windows.run(PathSyntax::kWindows);
  ASSERT_EQ(windows.starts.size(), 2u);
  EXPECT_EQ(windows.starts[1].folder, "C:\\l.v\\");
  EXPECT_EQ(windows.starts[1].name, "nosuch");
  EXPECT_EQ(windows.told,
            std::vector<std::string>{
                "Please choose an existing file.\n\nFile missing:\nC:\\l.v\\nosuch.txt"});

  ScriptedPicker cancelled;
  cancelled.picks = {std::vector<std::string>{"/l/nosuch"}, std::nullopt};
  EXPECT_EQ(cancelled.run(), std::nullopt);
  EXPECT_EQ(cancelled.told.size(), 1u);
}

}  // namespace
}  // namespace zur::dialog
