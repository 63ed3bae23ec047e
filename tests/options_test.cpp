// SPDX-License-Identifier: MIT
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
      {{"--yes=1", "a"}, "unknown option --yes=1"},
      {{"a", "-o"}, "option -o needs a FILE"},
      {{"a", "--depfile"}, "option --depfile needs a FILE"},
      {{"-o", "x.lev", "a", "b"}, "--output takes one LEVEL only"},
      {{"--depfile", "a.d", "a", "b"}, "--depfile takes one LEVEL only"},
      {{"-o", "x.LEV", "a"}, "the --output file must end in .lev"},
      {{"-o", "a"}, "no LEVEL given"},
      {{"--json", "a"}, "--json, --mask and --strict need --check"},
      {{"--mask", "a"}, "--json, --mask and --strict need --check"},
      {{"--strict", "a"}, "--json, --mask and --strict need --check"},
      {{"--check", "-o", "x.lev", "a"}, "--output cannot be used with --check"},
      {{"--check", "--depfile", "a.d", "a"}, "--depfile cannot be used with --check"},
      {{"--repair-colours", "f.tga", "a", "b"}, "--repair-colours takes one LEVEL only"},
      {{"--repair-colours", "f.tga", "--check", "a"},
       "--repair-colours cannot be used with --check"},
      {{"--repair-colours", "f.tga", "-o", "x.lev", "a"},
       "--output cannot be used with --repair-colours"},
      {{"--repair-colours", "f.tga", "--depfile", "a.d", "a"},
       "--depfile cannot be used with --repair-colours"},
      {{"a", "--repair-colours"}, "option --repair-colours needs a FILE"},
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

TEST(ParseArguments, ValuesFollowTheirOption) {
  const struct {
    Arguments arguments;
    std::optional<std::string> output, depfile;
    Arguments levels;
  } cases[] = {
      {{"-o", "x.lev", "a"}, "x.lev", {}, {"a"}},
      {{"-ox.lev", "a"}, "x.lev", {}, {"a"}},
      {{"-qo", "-x.lev", "a"}, "-x.lev", {}, {"a"}},
      {{"a", "--output", "x.lev"}, "x.lev", {}, {"a"}},
      {{"--output=x.lev", "a"}, "x.lev", {}, {"a"}},
      {{"--depfile", "a.d", "a"}, {}, "a.d", {"a"}},
      {{"--depfile=", "-o", "x.lev", "a"}, "x.lev", "", {"a"}},
  };
  for (const auto& c : cases) {
    const ParsedArguments parsed = parse_arguments(c.arguments);
    const std::string row = ::testing::PrintToString(c.arguments);
    EXPECT_EQ(parsed.error, "") << row;
    EXPECT_EQ(parsed.options.output, c.output) << row;
    EXPECT_EQ(parsed.options.depfile, c.depfile) << row;
    EXPECT_EQ(parsed.options.levels, c.levels) << row;
  }
}

}  // namespace
}  // namespace zur::cli
