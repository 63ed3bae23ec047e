// SPDX-License-Identifier: MIT
// What each line of a config file is to the reading, as the reader and the
// check both see it.
#include "engine/level/config_grammar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zur::config_grammar {
namespace {

const char* role_name(LineRole role) {
  switch (role) {
    case LineRole::kComment:
      return "comment";
    case LineRole::kKeyword:
      return "keyword";
    case LineRole::kUnknownKeyword:
      return "unknown";
    case LineRole::kValue:
      return "value";
    case LineRole::kEmptyValue:
      return "empty-value";
    case LineRole::kNoValue:
      return "no-value";
    case LineRole::kKeywordAtEnd:
      return "keyword-at-end";
    case LineRole::kEnd:
      return "end";
  }
  return "?";
}

// "role:number" for every line up to the last one read, as "keyword:1 value:2".
std::string roles(std::string_view text) {
  LineReader lines(text);
  LineClassifier classifier(lines);
  std::string listed;
  for (;;) {
    const ClassifiedLine line = classifier.next();
    if (!listed.empty()) listed += ' ';
    listed += role_name(line.role) + (':' + std::to_string(line.number));
    if (line.last) return listed;
  }
}

TEST(LineClassifier, TellsEachLineItsRole) {
  const struct {
    const char* text;
    const char* roles;
  } cases[] = {
      {"", "end:1"},
      {"; a comment", "end:1"},
      {"/MAKER\nBob\n", "keyword:1 value:2 end:3"},
      {"/maker\r\nBob\r\n", "keyword:1 value:2 end:3"},
      {"/MAKER\n/EMAIL\nx\n", "keyword:1 value:2 comment:3 end:4"},
      {"/MAKER \nBob\n", "unknown:1 comment:2 end:3"},
      {"/SPEED\n/MAKER\nBob\n", "unknown:1 keyword:2 value:3 end:4"},
      {"/\nx\n", "unknown:1 comment:2 end:3"},
      {"/MAKER\n\n/EMAIL\nx\n", "keyword:1 empty-value:2"},
      {"/MAKER\r\n\r\n/EMAIL\n", "keyword:1 empty-value:2"},
      {"/MAKER\n", "keyword:1 no-value:2"},
      {"/MAKER\nBob", "keyword:1 value:2"},
      {"x\n/MAKER", "comment:1 keyword-at-end:2"},
      {"x\n/SPEED", "comment:1 end:2"},
      {"/MAKER\n\r", "keyword:1 value:2"},
      {"\xEF\xBB\xBF/MAKER\nBob\n", "keyword:1 value:2 end:3"},
      {"x\n\xEF\xBB\xBF/MAKER\nBob\n", "comment:1 comment:2 comment:3 end:4"},
  };
  for (const auto& c : cases) EXPECT_EQ(roles(c.text), c.roles) << c.text;
}

TEST(LineClassifier, ValueLineNamesItsKeyword) {
  LineReader lines("/gravity\n95\n");
  LineClassifier classifier(lines);
  const ClassifiedLine keyword = classifier.next();
  const ClassifiedLine value = classifier.next();
  EXPECT_EQ(keyword.keyword, 7u);
  EXPECT_EQ(value.keyword, 7u);
  EXPECT_EQ(value.line.text, "95");
}

// A hole skipped after a block belongs to the line that goes on past the
// block's end; its length is then only a lower bound.
TEST(LineReader, MarksTheLineAHoleWasSkippedIn) {
  const struct {
    std::vector<Block> blocks;
    const char* lines;  // "length" or "length+" (hole skipped) per line, up to the end
  } cases[] = {
      {{{"ab", true}, {"cd\nef\n"}}, "4+ 2 0"},     {{{"ab\n", true}, {"cd\n"}}, "2 2+ 0"},
      {{{"ab\ncd", true}, {"\ny\n"}}, "2 2+ 1 0"},  {{{"ab\n"}, {"cd", true}}, "2 2+"},
      {{{"ab\ncd\n", false}, {"ef\n"}}, "2 2 2 0"},
  };
  for (const auto& c : cases) {
    std::size_t next = 0;
    LineReader lines([&] { return next < c.blocks.size() ? c.blocks[next++] : Block{}; });
    std::string listed;
    for (;;) {
      const Line line = lines.next();
      if (!listed.empty()) listed += ' ';
      listed += std::to_string(line.length) + (line.hole_skipped ? "+" : "");
      if (line.ended_file) break;
    }
    EXPECT_EQ(listed, c.lines) << c.blocks.front().bytes;
  }
}

}  // namespace
}  // namespace zur::config_grammar
