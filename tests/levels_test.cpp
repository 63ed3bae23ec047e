// SPDX-License-Identifier: MIT
// The levels among dropped files, and the files that belong to none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zur/convert.h"

namespace zur {
namespace {

TEST(OtherFiles, KeepsWhatIsNoSourceNorLevelFileInItsOrder) {
  const std::vector<std::string> files = {"notes.txt",      "jungle.TGA",     "Jungle.jpg",
                                          "junglep.JPG",    "readme.md",      "jungle.Lev",
                                          "maps/thumbs.db", "maps/ruins.txt", "picture.png",
                                          "jungle.txt.bak", ".txt",           "tga"};
  EXPECT_EQ(other_files(files),
            (std::vector<std::string>{"readme.md", "maps/thumbs.db", "picture.png",
                                      "jungle.txt.bak", ".txt", "tga"}));
}

TEST(FindLevels, NamesALevelForEveryConfigEvenAStrayOne) {
  const std::vector<std::string> files = {"notes.txt", "jungle.tga", "jungle.TXT", "ruins.tga"};
  EXPECT_EQ(find_levels(files), (std::vector<std::string>{"jungle", "notes", "ruins"}));
}

}  // namespace
}  // namespace zur
