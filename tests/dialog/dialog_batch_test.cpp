// SPDX-License-Identifier: MIT
#include "frontend/dialog_batch.h"

#include <gtest/gtest.h>

#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"

namespace zur::dialog {
namespace {

using test::Prompt;
using test::TempDir;
using test::TgaBuilder;

const TgaBuilder kAllAir(40, 40);  // enough air for no hint
constexpr const char* kGiveAFilename = "Conversion failed.\n\nGive a filename.";

bool starts_with(const std::string& text, const std::string& start) {
  return text.rfind(start, 0) == 0;
}

// Every text shown, for a failure message.
std::string shown_texts(const test::ScriptedPrompts& prompts) {
  std::string texts;
  for (const Prompt& shown : prompts.prompts) texts += "[" + shown.text + "]\n";
  return texts;
}

std::string config_missing(const std::string& prefix) {
  return "Conversion failed.\nLevel config file not found.\n\nFile missing:\n" + prefix + ".txt";
}

TEST(ConvertFieldText, ASingleLevelShowsTheEnginesTextsAsTheyAre) {
  TempDir dir;
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"", kGiveAFilename},
      {"  ", kGiveAFilename},
      {dir.prefix("missing"), config_missing(dir.prefix("missing"))},
      // Built by appending: g++ 12 warns falsely (-Wrestrict) on a literal plus a string.
      {std::string(1, ' ').append(dir.prefix("missing")).append(".TXT "),
       config_missing(dir.prefix("missing"))},
  };
  for (const auto& c : cases) {
    test::ScriptedPrompts prompts;
    convert_field_text(c.text, prompts);
    EXPECT_EQ(prompts.messages(), std::vector<std::string>{c.message}) << "\"" << c.text << "\"";
  }
}

// The field's items go through zurconv's rule for its arguments.
TEST(ConvertFieldText, AFinalTxtInAnyLetterCaseIsDropped) {
  for (const char* ending : {"", ".txt", ".TXT", ".tXt"}) {
    TempDir dir;
    test::write_level(dir, "jungle", TgaBuilder(4, 4));
    test::ScriptedPrompts prompts;
    convert_field_text(dir.prefix("jungle") + ending, prompts);
    EXPECT_TRUE(dir.exists("jungle.lev")) << ending;
    ASSERT_FALSE(prompts.prompts.empty()) << ending;
    EXPECT_TRUE(starts_with(prompts.prompts[0].text, "Conversion succesfully completed"))
        << ending << ": " << prompts.prompts[0].text;
  }
}

// Questions and error messages name their level on a first line; the other
// messages do not; the failures are summed up at the end.
TEST(ConvertFieldText, ABatchNamesTheLevelOfEachQuestionAndFailureAndSumsUpTheFailures) {
  TempDir dir;
  test::write_level(dir, "good", kAllAir);
  test::write_level(dir, "bad colour", TgaBuilder(4, 4, {1, 2, 3}));
  const std::string good = dir.prefix("good"), bad = dir.prefix("bad colour") + ".txt",
                    missing = dir.prefix("missing");
  test::ScriptedPrompts prompts;
  prompts.info_answers = {true};
  convert_field_text(good + " | " + bad + " || " + missing, prompts);

  ASSERT_EQ(prompts.prompts.size(), 7u) << shown_texts(prompts);
  const struct {
    Prompt::Kind kind;
    std::string start;
    Icon icon;
  } expected[] = {
      {Prompt::Kind::Question, good + ":\nConversion succesfully completed", Icon::Information},
      {Prompt::Kind::Message, "Attribute map info:", Icon::None},
      {Prompt::Kind::Question, bad + ":\nIllegal color (red:1, green:2, blue:3)", Icon::None},
      {Prompt::Kind::Message, bad + ":\nConversion failed.\nIllegal color", Icon::Error},
      {Prompt::Kind::Message, std::string("\"\":\n") + kGiveAFilename, Icon::Error},
      {Prompt::Kind::Message, missing + ":\n" + config_missing(missing), Icon::Error},
      {Prompt::Kind::Message, "3 of 4 levels failed: " + bad + ", \"\", " + missing, Icon::Error},
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const Prompt& shown = prompts.prompts[i];
    EXPECT_EQ(shown.kind, expected[i].kind) << i;
    EXPECT_TRUE(starts_with(shown.text, expected[i].start)) << i << ": " << shown.text;
    EXPECT_EQ(shown.icon, expected[i].icon) << i;
  }
  EXPECT_EQ(prompts.prompts.back().text, expected[6].start) << "the summary is one line";
  EXPECT_TRUE(dir.exists("good.lev"));
  EXPECT_EQ(prompts.progress, (std::vector<int>{40, 70, 100, 0, 40, 70, 0, 0}));
}

TEST(ConvertFieldText, ABatchWithoutFailuresEndsWithoutASummary) {
  TempDir dir;
  test::write_level(dir, "a", kAllAir);
  test::write_level(dir, "b", kAllAir);
  test::ScriptedPrompts prompts;
  convert_field_text(dir.prefix("a") + "|" + dir.prefix("b"), prompts);
  ASSERT_EQ(prompts.prompts.size(), 2u) << shown_texts(prompts);
  EXPECT_TRUE(starts_with(prompts.prompts[0].text, dir.prefix("a") + ":\nConversion succesfully"));
  EXPECT_TRUE(starts_with(prompts.prompts[1].text, dir.prefix("b") + ":\nConversion succesfully"));
}

}  // namespace
}  // namespace zur::dialog
