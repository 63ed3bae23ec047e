// SPDX-License-Identifier: MIT
#include "engine/level/level_prefix.h"

#include <gtest/gtest.h>

namespace zur {
namespace {

TEST(LevelPrefix, ArgumentLosesOnlyAFinalTxt) {
  const struct {
    const char* argument;
    const char* prefix;
  } cases[] = {
      {"levels/jungle", "levels/jungle"},
      {"levels/jungle.txt", "levels/jungle"},
      {"levels/JUNGLE.TxT", "levels/JUNGLE"},
      {"levels/v1.2", "levels/v1.2"},
      {"my.levels/jungle", "my.levels/jungle"},
      {"jungle.tga", "jungle.tga"},
      {"jungle.txt.txt", "jungle.txt"},
      {".txt", ""},
      {"txt", "txt"},
      {" jungle | cave.txt", " jungle | cave"},
      {"a.tx", "a.tx"},
      {"atxt", "atxt"},
      {"dir.txt/level", "dir.txt/level"},
      {"my level.Txt", "my level"},
  };
  for (const auto& c : cases) EXPECT_EQ(prefix_from_argument(c.argument), c.prefix) << c.argument;
}

TEST(LevelPrefix, PickedPathLosesItsFileNamesExtensionOnly) {
  const struct {
    const char* path;
    const char* prefix;
  } cases[] = {
      {"/levels/jungle.txt", "/levels/jungle"},
      {"/levels/old.jungle.TXT", "/levels/old.jungle"},
      {"/my.levels/jungle", "/my.levels/jungle"},
      {"/my.levels/jungle.txt", "/my.levels/jungle"},
      {"jungle.txt", "jungle"},
      {"jungle", "jungle"},
      {"/levels/v1.2/", "/levels/v1.2/"},
  };
  for (const auto& c : cases) EXPECT_EQ(prefix_from_picked_path(c.path), c.prefix) << c.path;
}

TEST(LevelPrefix, WindowsPathsCutNeitherFolderDriveNorShare) {
  const struct {
    const char* path;
    const char* argument_prefix;
    const char* picked_prefix;
  } cases[] = {
      {R"(levels\jungle.txt)", R"(levels\jungle)", R"(levels\jungle)"},
      {R"(levels\v1.2\)", R"(levels\v1.2\)", R"(levels\v1.2\)"},
      {R"(my.levels\jungle)", R"(my.levels\jungle)", R"(my.levels\jungle)"},
      {R"(dir.txt\level)", R"(dir.txt\level)", R"(dir.txt\level)"},
      {"my.levels/jungle.TXT", "my.levels/jungle", "my.levels/jungle"},
      {R"(C:\levels\old.jungle.txt)", R"(C:\levels\old.jungle)", R"(C:\levels\old.jungle)"},
      {"C:jungle.txt", "C:jungle", "C:jungle"},
      {"C:.txt", "C:", "C:"},
      {R"(C:\.txt)", R"(C:\)", R"(C:\)"},
      {R"(\\server\share.txt)", R"(\\server\share.txt)", R"(\\server\share.txt)"},
      {R"(\\server.lan\share\a)", R"(\\server.lan\share\a)", R"(\\server.lan\share\a)"},
      {R"(\\server\levels.v2\jungle.txt)", R"(\\server\levels.v2\jungle)",
       R"(\\server\levels.v2\jungle)"},
      {R"(\\?\UNC\server\share.txt)", R"(\\?\UNC\server\share.txt)", R"(\\?\UNC\server\share.txt)"},
      {R"(\\?\C:\levels\jungle.txt)", R"(\\?\C:\levels\jungle)", R"(\\?\C:\levels\jungle)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(prefix_from_argument(c.path, PathSyntax::kWindows), c.argument_prefix) << c.path;
    EXPECT_EQ(prefix_from_picked_path(c.path, PathSyntax::kWindows), c.picked_prefix) << c.path;
  }
}

TEST(LevelPrefix, BackslashIsPartOfANameOnPosix) {
  EXPECT_EQ(prefix_from_picked_path(R"(my.levels\jungle)", PathSyntax::kPosix), "my");
  EXPECT_EQ(prefix_from_argument(R"(C:\.txt)", PathSyntax::kPosix), R"(C:\)");
  EXPECT_EQ(prefix_from_picked_path("C:jungle.txt", PathSyntax::kPosix), "C:jungle");
}

}  // namespace
}  // namespace zur
