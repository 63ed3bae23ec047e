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

}  // namespace
}  // namespace zur
