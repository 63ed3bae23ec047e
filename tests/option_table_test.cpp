// SPDX-License-Identifier: MIT
// The option table machinery on a table of its own: each way of typing an
// option, what goes wrong named by its kind, and the usage and help that
// come from the table.
#include "cli/option_table.h"

#include <gtest/gtest.h>

namespace zur::cli {
namespace {

struct TestOptions {
  bool all = false, brief = false;
  std::string out;
  int level = 0;
};

std::string take_level(TestOptions& options, std::string value) {
  if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos) {
    return "--level takes digits, not " + value;
  }
  options.level = std::stoi(value);
  return {};
}

constexpr Option<TestOptions> kTable[] = {
    {{'a', "all", "", "everything"}, set<&TestOptions::all, true>},
    {{'b', "", "", "short only"}, set<&TestOptions::brief, true>},
    {{'o', "", "DIR", "short only, with a value\nover two lines"}, take<&TestOptions::out>},
    {{'\0', "level", "N", "long only"}, take_level},
};

struct Parsed {
  TestOptions options;
  std::vector<std::string> operands;
  std::optional<OptionError> error;
};

Parsed parse(const std::vector<std::string>& arguments) {
  Parsed parsed;
  parsed.error = parse_options<TestOptions>(kTable, arguments, parsed.options, parsed.operands);
  return parsed;
}

TEST(OptionTable, EachWayOfTypingAnOptionApplies) {
  const struct {
    std::vector<std::string> arguments;
    bool all, brief;
    std::string out;
    int level;
    std::vector<std::string> operands;
  } cases[] = {
      {{"x", "-a", "y"}, true, false, "", 0, {"x", "y"}},
      {{"--all", "-b"}, true, true, "", 0, {}},
      {{"-abo", "d"}, true, true, "d", 0, {}},
      {{"-bod"}, false, true, "d", 0, {}},
      {{"-o", "-a"}, false, false, "-a", 0, {}},
      {{"--level", "7", "--level=12"}, false, false, "", 12, {}},
      {{"-", "--", "-a", "--level"}, false, false, "", 0, {"-", "-a", "--level"}},
  };
  for (const auto& c : cases) {
    const Parsed parsed = parse(c.arguments);
    const std::string row = ::testing::PrintToString(c.arguments);
    EXPECT_FALSE(parsed.error) << row << ": " << parsed.error->text;
    EXPECT_EQ(parsed.options.all, c.all) << row;
    EXPECT_EQ(parsed.options.brief, c.brief) << row;
    EXPECT_EQ(parsed.options.out, c.out) << row;
    EXPECT_EQ(parsed.options.level, c.level) << row;
    EXPECT_EQ(parsed.operands, c.operands) << row;
  }
}

TEST(OptionTable, TheFirstErrorIsNamedWithItsKind) {
  using Kind = OptionError::Kind;
  const struct {
    std::vector<std::string> arguments;
    Kind kind;
    std::string argument, option, text;
  } cases[] = {
      {{"-ax", "-q"}, Kind::kUnknown, "-ax", "-x", "unknown option -x"},
      {{"--all=1"}, Kind::kUnknown, "--all=1", "--all=1", "unknown option --all=1"},
      {{"--b"}, Kind::kUnknown, "--b", "--b", "unknown option --b"},
      {{"--=d"}, Kind::kUnknown, "--=d", "--=d", "unknown option --=d"},
      {{"-a", "-o"}, Kind::kMissingValue, "-o", "-o", "option -o needs a DIR"},
      {{"--level"}, Kind::kMissingValue, "--level", "--level", "option --level needs a N"},
      {{"--level=x", "-q"}, Kind::kRefused, "--level=x", "--level", "--level takes digits, not x"},
      {{"--level", ""}, Kind::kRefused, "--level", "--level", "--level takes digits, not "},
  };
  for (const auto& c : cases) {
    const Parsed parsed = parse(c.arguments);
    const std::string row = ::testing::PrintToString(c.arguments);
    ASSERT_TRUE(parsed.error) << row;
    EXPECT_EQ(parsed.error->kind, c.kind) << row;
    EXPECT_EQ(parsed.error->argument, c.argument) << row;
    EXPECT_EQ(parsed.error->option, c.option) << row;
    EXPECT_EQ(parsed.error->text, c.text) << row;
  }
}

TEST(OptionTable, UsageAndHelpComeFromTheTable) {
  EXPECT_EQ(usage_of<TestOptions>(kTable), " [-a|--all] [-b] [-o DIR] [--level N]");
  // A long name alone stands under the long names, as some option has both.
  EXPECT_EQ(help_of<TestOptions>(kTable),
            "  -a, --all      everything\n"
            "  -b             short only\n"
            "  -o DIR         short only, with a value\n"
            "                 over two lines\n"
            "      --level N  long only\n");
  EXPECT_EQ(help_of<TestOptions>(std::span(kTable).subspan(1)),
            "  -b         short only\n"
            "  -o DIR     short only, with a value\n"
            "             over two lines\n"
            "  --level N  long only\n");
}

}  // namespace
}  // namespace zur::cli
