#include "cli/options.h"

#include <gtest/gtest.h>

namespace zur::cli {
namespace {

using Arguments = std::vector<std::string>;

TEST(ParseArguments, OptionsAndLevels) {
  const struct {
    Arguments arguments;
    IllegalColourAnswer illegal_colours;
    bool statistics, quiet;
    Arguments levels;
  } cases[] = {
      {{"jungle"}, IllegalColourAnswer::Ask, false, false, {"jungle"}},
      {{"-y", "a", "b"}, IllegalColourAnswer::Yes, false, false, {"a", "b"}},
      {{"a", "--yes"}, IllegalColourAnswer::Yes, false, false, {"a"}},
      {{"-n", "a"}, IllegalColourAnswer::No, false, false, {"a"}},
      {{"--no", "a"}, IllegalColourAnswer::No, false, false, {"a"}},
      {{"-s", "-q", "a"}, IllegalColourAnswer::Ask, true, true, {"a"}},
      {{"--stats", "--quiet", "a"}, IllegalColourAnswer::Ask, true, true, {"a"}},
      {{"-ysq", "a"}, IllegalColourAnswer::Yes, true, true, {"a"}},
      {{"--", "-y", "-"}, IllegalColourAnswer::Ask, false, false, {"-y", "-"}},
      {{"-", "a b"}, IllegalColourAnswer::Ask, false, false, {"-", "a b"}},
  };
  for (const auto& c : cases) {
    const ParsedArguments parsed = parse_arguments(c.arguments);
    const std::string row = ::testing::PrintToString(c.arguments);
    EXPECT_EQ(parsed.error, "") << row;
    EXPECT_EQ(parsed.options.illegal_colours, c.illegal_colours) << row;
    EXPECT_EQ(parsed.options.show_statistics, c.statistics) << row;
    EXPECT_EQ(parsed.options.quiet, c.quiet) << row;
    EXPECT_EQ(parsed.options.levels, c.levels) << row;
  }
}

TEST(ParseArguments, UsageErrorsHaveAOneLineReason) {
  const struct {
    Arguments arguments;
    const char* error;
  } cases[] = {
      {{}, "no LEVEL given"},
      {{"-y", "-s"}, "no LEVEL given"},
      {{"-x", "a"}, "unknown option -x"},
      {{"-yx", "a"}, "unknown option -x"},
      {{"a", "--yes-please"}, "unknown option --yes-please"},
      {{"--help-me", "a"}, "unknown option --help-me"},
      {{"--json", "a"}, "--json, --mask and --strict need --check"},
      {{"--mask", "a"}, "--json, --mask and --strict need --check"},
      {{"--strict", "a"}, "--json, --mask and --strict need --check"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse_arguments(c.arguments).error, c.error) << ::testing::PrintToString(c.arguments);
  }
}

TEST(ParseArguments, CheckModeOptions) {
  const Options options = parse_arguments({"--check", "--json", "--mask", "--strict", "a"}).options;
  EXPECT_TRUE(options.check && options.json && options.mask && options.strict);
  EXPECT_EQ(options.levels, Arguments{"a"});
  EXPECT_FALSE(parse_arguments({"a"}).options.check);
}

TEST(ParseArguments, HelpAndVersionNeedNoLevel) {
  EXPECT_TRUE(parse_arguments({"-h"}).options.help);
  EXPECT_TRUE(parse_arguments({"--help"}).options.help);
  EXPECT_EQ(parse_arguments({"--help"}).error, "");
  EXPECT_TRUE(parse_arguments({"--version"}).options.version);
  EXPECT_EQ(parse_arguments({"--version"}).error, "");
}

TEST(BatchText, JoinsLevelsAndDropsAFinalTxtInAnyCase) {
  const struct {
    Arguments levels;
    const char* text;
  } cases[] = {
      {{"jungle"}, "jungle"},
      {{"levels/jungle.txt"}, "levels/jungle"},
      {{"a.TXT", "b.Txt", "c"}, "a | b | c"},
      {{"a.txt.txt"}, "a.txt"},
      {{"a.tx", "atxt", "txt"}, "a.tx | atxt | txt"},
      {{"dir.txt/level"}, "dir.txt/level"},
      {{".txt"}, ""},
      {{"my level.txt"}, "my level"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(batch_text(c.levels), c.text) << ::testing::PrintToString(c.levels);
  }
}

}  // namespace
}  // namespace zur::cli
