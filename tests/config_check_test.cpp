// SPDX-License-Identifier: MIT
// The config check's verdict on single values: which values the conversion
// stores otherwise than written, and which it stores as written.
#include "engine/level/config_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "tests/support/level_sources.h"

namespace zur {
namespace {

TEST(ConfigCheck, ValuesStoredOtherwiseThanWritten) {
  const struct {
    const char* keyword;
    std::string value;
    const char* code;  // "" for no problem
  } cases[] = {
      {"CIVIL", "10", ""},
      {"CIVIL", " +12\t", ""},
      {"CIVIL", "255", ""},
      {"CIVIL", "300", "number-out-of-range"},
      {"CIVIL", "-1", "number-out-of-range"},
      {"CIVIL", "lots", "bad-number"},
      {"CIVIL", "12abc", "bad-number"},
      {"CIVIL", "1 2", "bad-number"},
      {"GRAVITY", "2550", ""},
      {"GRAVITY", "0", ""},
      {"GRAVITY", "95", "number-out-of-range"},
      {"GRAVITY", "2600", "number-out-of-range"},
      {"GRAVITY", "-10", "number-out-of-range"},
      {"RANDOMSEED", "-2147483648", ""},
      {"RANDOMSEED", "2147483647", ""},
      {"RANDOMSEED", "2147483648", "number-out-of-range"},
      {"RANDOMSEED", "-99999999999", "number-out-of-range"},
      {"PARA", "yes", ""},
      {"PARA", "NOPE", ""},
      {"PARA", "Yessir", ""},
      {"PARA", "y", "bad-yes-no"},
      {"PARA", "1", "bad-yes-no"},
      {"WATERC", "1,2,3", ""},
      {"WATERC", "1,2", "bad-triple"},
      {"WATERC", "1,2,3,4", "bad-number"},
      {"WATERC", "1,2,256", "number-out-of-range"},
      {"MAKER", std::string(127, 'm'), ""},
      {"MAKER", std::string(128, 'm'), "text-cut"},
      {"MAKER", std::string("na\0me", 5), "text-nul-byte"},
      {"GGTHEME", std::string(1, '\0'), "text-nul-byte"},
      {"EMAIL", std::string(126, 'm') + '\0', "text-nul-byte"},
      {"EMAIL", std::string(127, 'm') + '\0', "text-cut"},  // the zero is cut off
      {"EMAIL", std::string(126, 'm') + '\0' + 'x', "text-cuttext-nul-byte"},
  };
  for (const auto& c : cases) {
    std::vector<Problem> problems;
    check_level_config(test::complete_config({{c.keyword, c.value}}), "c.txt", problems);
    std::string codes;
    for (const Problem& problem : problems) codes += std::string(code_name(problem.code));
    EXPECT_EQ(codes, c.code) << c.keyword << " " << c.value;
  }
}

TEST(ConfigCheck, RepeatSaysWhichValueIsKept) {
  std::vector<Problem> problems;
  const std::string config = test::complete_config({{"PARA", "yes"}}) + "/PARA\nmaybe\n";
  check_level_config(config, "c.txt", problems);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].code, ProblemCode::kDuplicateKeyword);
  EXPECT_EQ(problems[0].message,
            "/PARA given again (first at line 6); the conversion keeps \"yes\" of line 7");
  EXPECT_EQ(problems[1].message,
            "/PARA value \"maybe\" is neither yes nor no: ignored, PARA stays yes");
}

// The level keeps a text only up to a zero byte in it; a message shows the
// byte as \0 and never holds one.
TEST(ConfigCheck, ZeroByteInATextSaysWhatTheLevelKeeps) {
  using namespace std::string_literals;
  std::vector<Problem> problems;
  check_level_config(test::complete_config({{"MAKER", "na\0me"s}}) +
                         "/SIGNTEXT1\nsi\0gn\n/SIGNTEXT2\nleft,ri\0ght\n/MAKER\nna\0me\n"s,
                     "c.txt", problems);
  std::string listed;
  for (const Problem& problem : problems) {
    listed += std::to_string(*problem.line) + " " + std::string(code_name(problem.code)) + ": " +
              problem.message + "\n";
  }
  EXPECT_EQ(listed,
            "3 text-nul-byte: /MAKER text holds a zero byte at character 3: the level keeps only "
            "\"na\"\n"
            "43 text-nul-byte: sign text \"si\\0gn\" holds a zero byte at character 3: the level "
            "keeps only \"si\"\n"
            "45 text-nul-byte: sign text \"ri\\0ght\" holds a zero byte at character 3: the "
            "level keeps only \"ri\"\n"
            "46 duplicate-keyword: /MAKER given again (first at line 2); the conversion keeps "
            "\"na\\0me\" of line 47\n"
            "47 text-nul-byte: /MAKER text holds a zero byte at character 3: the level keeps only "
            "\"na\"\n");
}

std::vector<std::string> long_line_messages(const std::vector<Problem>& problems) {
  std::vector<std::string> messages;
  for (const Problem& problem : problems) {
    if (problem.code == ProblemCode::kLongLine) messages.push_back(problem.message);
  }
  return messages;
}

TEST(ConfigCheck, LongLineGivesItsLength) {
  std::vector<Problem> problems;
  check_level_config("x\n" + std::string(200, 'c') + "\r\n", "c.txt", problems);
  EXPECT_EQ(
      long_line_messages(problems),
      std::vector<std::string>{"line of 200 characters: the conversion reads only its first 159"});
}

// The hole of a sparse file is skipped unread, so the length counted of the
// line it lies in is only a lower bound.
TEST(ConfigCheck, LineWithASkippedHoleIsAtLeastItsCountedLength) {
  constexpr std::uint64_t kSize = std::uint64_t{10} << 20;
  const std::string keyword = "/GGTHEME\n";
  test::TempDir dir;
  dir.write("c.txt", keyword);
  std::filesystem::resize_file(dir.path() / "c.txt", kSize);
  config_grammar::ConfigFileLines file(platform::default_system());
  ASSERT_TRUE(file.open(dir.prefix("c.txt")).ok());
  std::vector<Problem> problems;
  check_level_config(file.lines(), "c.txt", problems);
  const std::vector<std::string> messages = long_line_messages(problems);
  ASSERT_EQ(messages.size(), 1u);
  unsigned long long counted = 0;
  ASSERT_EQ(std::sscanf(messages[0].c_str(), "line of at least %llu characters: ", &counted), 1)
      << messages[0];
  EXPECT_GT(counted, config_grammar::kMaxConfigLine);
  EXPECT_LE(counted, kSize - keyword.size());
}

}  // namespace
}  // namespace zur
