// SPDX-License-Identifier: MIT
#include "engine/level/depfile.h"

#include <gtest/gtest.h>

namespace zur {
namespace {

TEST(MakeEscaped, EscapesWhatMakeWouldReadOtherwise) {
  const struct {
    const char* path;
    const char* word;
  } cases[] = {
      {"levels/jungle.TXT", "levels/jungle.TXT"},
      {"my levels/a b", "my\\ levels/a\\ b"},
      {"tab\there", "tab\\\there"},
      {"#1", "\\#1"},
      {"$x$", "$$x$$"},
      {"a\\b", "a\\b"},
      {"a\\ b", "a\\\\\\ b"},
      {"a\\\\ b", "a\\\\\\\\\\ b"},
      {"a:b%c", "a:b%c"},
  };
  for (const auto& c : cases) EXPECT_EQ(make_escaped(c.path), c.word) << c.path;
}

TEST(DepfileRule, OnePrerequisitePerLineAndNoneWithALineBreak) {
  EXPECT_EQ(depfile_rule("a.lev", {"a.TXT", "a.TGA"}), "a.lev: a.TXT \\\n a.TGA\n");
  EXPECT_EQ(depfile_rule("a.lev", {"a\n.TXT"}), std::nullopt);
  EXPECT_EQ(depfile_rule("a\r.lev", {"a.TXT"}), std::nullopt);
}

}  // namespace
}  // namespace zur
