// SPDX-License-Identifier: MIT
// The rules of the value kinds against each other: a field that a value line
// left in the record is rebuilt as a value line that leaves the same field,
// and the check has nothing to say of the rebuilt line.
#include "engine/level/value_kinds.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/level/config_reader.h"

namespace zur {
namespace {

class ValueLineGenerator {
 public:
  explicit ValueLineGenerator(unsigned seed) : random_(seed) {}

  // A value line that the reader takes for a keyword of `kind`.
  std::string line(ValueKind kind) {
    switch (kind) {
      case ValueKind::Text:
        return text(1 + below(150));
      case ValueKind::YesNo:
        return pick({"yes", "YES", "Yes please", "no", "NO", "nope"});
      case ValueKind::Integer:
      case ValueKind::Tenths:
        return number();
      case ValueKind::IntegerTriple:
        return number() + "," + number() + "," + number();
      case ValueKind::SignText:
      case ValueKind::SignPair:
        break;
    }
    return {};
  }

 private:
  int below(int limit) { return std::uniform_int_distribution<int>(0, limit - 1)(random_); }
  std::string pick(std::initializer_list<const char*> choices) {
    return *(choices.begin() + below(static_cast<int>(choices.size())));
  }
  // Any byte but the zero byte, which the check rightly names, and the line feed.
  std::string text(int length) {
    std::string text;
    while (static_cast<int>(text.size()) < length) {
      const char c = static_cast<char>(1 + below(255));
      if (c != '\n') text += c;
    }
    return text;
  }
  // Of every size up to far beyond 32 bits, with blanks, signs and junk.
  std::string number() {
    std::string digits = std::to_string(below(10));
    for (int i = below(13); i > 0; --i) digits += static_cast<char>('0' + below(10));
    return pick({"", " ", "\t"}) + pick({"", "+", "-"}) + digits + pick({"", " ", "x", "0,1"});
  }

  std::mt19937 random_;
};

TEST(ValueKinds, RebuiltLinesGiveTheFieldBackAndCheckClean) {
  ValueLineGenerator generate(22);
  for (std::size_t index = 0; index < kCountedKeywords; ++index) {
    const Keyword& keyword = kKeywords[index];
    const ValueKindRules& rules = value_kind(keyword.kind);
    const std::string name = std::string(1, '/').append(keyword.name);
    for (int round = 0; round < 200; ++round) {
      const std::string written = generate.line(keyword.kind);
      SCOPED_TRACE(std::string(keyword.name) + " " + testing::PrintToString(written));
      LevelSettings first, second;
      WarningList warnings;
      ASSERT_TRUE(ConfigValues(first, warnings).take(index, written));

      RebuildReasons reasons;
      const auto rebuilt = rules.rebuild(keyword, first.at(keyword.offset), reasons);
      EXPECT_TRUE(reasons.empty());
      ASSERT_TRUE(rebuilt.has_value());
      EXPECT_TRUE(ConfigValues(second, warnings).take(index, *rebuilt));
      EXPECT_EQ(first.bytes(), second.bytes()) << "rebuilt as " << testing::PrintToString(*rebuilt);

      std::vector<ValueProblem> problems;
      rules.check({keyword, name, *rebuilt, true, LevelSettings()}, problems);
      for (const ValueProblem& problem : problems) ADD_FAILURE() << problem.message;
    }
  }
}

}  // namespace
}  // namespace zur
