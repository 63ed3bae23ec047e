// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "zur/paths.h"

namespace zur {
namespace {

TEST(PathSyntax, RootAndLastNameOfWindowsPaths) {
  const struct {
    const char* path;
    const char* root;
    const char* name;
  } cases[] = {
      {"jungle", "", "jungle"},
      {R"(levels\jungle)", "", "jungle"},
      {"levels/jungle", "", "jungle"},
      {R"(levels\sub/)", "", ""},
      {R"(\levels\jungle)", R"(\)", "jungle"},
      {"C:", "C:", ""},
      {"c:jungle", "c:", "jungle"},
      {R"(C:\)", R"(C:\)", ""},
      {"C:/levels/jungle", "C:/", "jungle"},
      {R"(\\server)", R"(\\server)", ""},
      {R"(\\server\share)", R"(\\server\share)", ""},
      {R"(\\server\share\)", R"(\\server\share\)", ""},
      {R"(\\server\share\jungle)", R"(\\server\share\)", "jungle"},
      {"//server/share/a/jungle", "//server/share/", "jungle"},
      {R"(\\?\C:\levels\jungle)", R"(\\?\C:\)", "jungle"},
      {R"(\\?\UNC\server\share\jungle)", R"(\\?\UNC\server\share\)", "jungle"},
      {R"(\\.\COM1)", R"(\\.\COM1)", ""},
      {R"(1:\x)", "", "x"},
  };
  for (const auto& c : cases) {
    const std::string path = c.path;
    EXPECT_EQ(path.substr(0, root_length(path, PathSyntax::kWindows)), c.root) << path;
    EXPECT_EQ(path.substr(name_start(path, PathSyntax::kWindows)), c.name) << path;
  }
}

TEST(PathSyntax, RootAndLastNameOfPosixPaths) {
  const struct {
    const char* path;
    const char* root;
    const char* name;
  } cases[] = {
      {"jungle", "", "jungle"},
      {"levels/jungle", "", "jungle"},
      {"/levels/jungle", "/", "jungle"},
      {"//levels/", "//", ""},
      {R"(C:\levels\jungle)", "", R"(C:\levels\jungle)"},
      {R"(\\server\share)", "", R"(\\server\share)"},
  };
  for (const auto& c : cases) {
    const std::string path = c.path;
    EXPECT_EQ(path.substr(0, root_length(path, PathSyntax::kPosix)), c.root) << path;
    EXPECT_EQ(path.substr(name_start(path, PathSyntax::kPosix)), c.name) << path;
  }
}

}  // namespace
}  // namespace zur
