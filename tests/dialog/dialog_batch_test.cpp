// SPDX-License-Identifier: MIT
#include "frontend/dialog_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"
#include "zur/paths.h"

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
  std::string padded(" ");
  padded.append(dir.prefix("missing")).append(".TXT ");
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"", kGiveAFilename},
      {"  ", kGiveAFilename},
      {dir.prefix("missing"), config_missing(dir.prefix("missing"))},
      {padded, config_missing(dir.prefix("missing"))},
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

// Answers every question no, doing `during_question` first: what another
// program might do to the files while the user reads.
class MeddlingPrompts : public test::ScriptedPrompts {
 public:
  std::function<void()> during_question;
  bool ask_yes_no(const std::string& text, Icon icon, Question question) override {
    if (during_question) during_question();
    return ScriptedPrompts::ask_yes_no(text, icon, question);
  }
};

// A failure's message stays the fixed text; the system's reasons go with it.
TEST(ConvertFieldText, AFailureCarriesTheSystemsReasonsWithItsMessage) {
  namespace fs = std::filesystem;
  const std::string could_not_access = "Conversion failed.\n\nCould not access \n";
  const std::string illegal_colours =
      "Conversion failed.\nIllegal colors used in attribute map!\nYou should only use specific\n"
      "colors defined in makelev.txt.\nPlease read makelev.txt";
  const struct {
    const char* name;
    TgaBuilder map;
    std::function<void(const TempDir&, MeddlingPrompts&)> set_up;
    std::string level;  // in the folder
    std::function<std::string(const TempDir&)> message;
    std::function<std::string(const TempDir&)> reason;  // its start
  } cases[] = {
      {"a folder that does not exist", TgaBuilder(4, 4), [](const TempDir&, MeddlingPrompts&) {},
       "nofolder/lvl",
       [&](const TempDir& dir) { return could_not_access + dir.prefix("nofolder/lvl") + ".lev"; },
       [](const TempDir& dir) {
         // The system's own text for it follows.
         return "cannot write " + dir.prefix("nofolder/lvl") + ".lev: ";
       }},
      {"the same file as the map", TgaBuilder(4, 4),
       [](const TempDir& dir, MeddlingPrompts&) {
         fs::create_hard_link(dir.prefix("lvl.TGA"), dir.prefix("lvl.lev"));
       },
       "lvl", [&](const TempDir& dir) { return could_not_access + dir.prefix("lvl.lev"); },
       [](const TempDir& dir) {
         return "cannot write " + dir.prefix("lvl.lev") + ": it is the same file as " +
                dir.prefix("lvl.TGA");
       }},
      // Made a folder while the question is open, the old level file cannot
      // be removed when the user stops the conversion.
      {"an old level file that cannot be removed", TgaBuilder(4, 4, {1, 2, 3}),
       [](const TempDir& dir, MeddlingPrompts& prompts) {
         dir.write("lvl.lev", std::string("old"));
         prompts.during_question = [&dir] {
           fs::remove(dir.prefix("lvl.lev"));
           fs::create_directories(dir.prefix("lvl.lev/inside"));
         };
       },
       "lvl", [&](const TempDir&) { return illegal_colours; },
       [](const TempDir& dir) {
         return "cannot remove the old level file " + dir.prefix("lvl.lev") + ": ";
       }},
  };
  for (const auto& c : cases) {
    TempDir dir;
    test::write_level(dir, "lvl", c.map);
    MeddlingPrompts prompts;
    c.set_up(dir, prompts);
    convert_field_text(dir.prefix(c.level), prompts);
    ASSERT_EQ(prompts.messages(), std::vector<std::string>{c.message(dir)}) << c.name << "\n"
                                                                            << shown_texts(prompts);
    const Prompt& shown = prompts.prompts.back();
    EXPECT_EQ(shown.icon, Icon::Error) << c.name;
    ASSERT_EQ(shown.reasons.size(), 1u) << c.name;
    EXPECT_TRUE(starts_with(shown.reasons[0], c.reason(dir))) << c.name << "\n" << shown.reasons[0];
  }
}

// In a batch the failure's text starts with its level's line; the reasons
// go with it.
TEST(ConvertFieldText, ABatchNamesTheLevelOfAFailureWithReasons) {
  TempDir dir;
  test::write_level(dir, "good", kAllAir);
  const std::string level = dir.prefix("nofolder/lvl");
  test::ScriptedPrompts prompts;
  convert_field_text(level + "|" + dir.prefix("good"), prompts);
  ASSERT_EQ(prompts.messages(),
            (std::vector<std::string>{
                level + ":\nConversion failed.\n\nCould not access \n" + level + ".lev",
                "1 of 2 levels failed: " + level}))
      << shown_texts(prompts);
  ASSERT_EQ(prompts.prompts[0].reasons.size(), 1u);
  EXPECT_TRUE(starts_with(prompts.prompts[0].reasons[0], "cannot write " + level + ".lev: "));
}

// Sources whose names differ only in letter case, as a folder may hold them
// where the file system keeps them apart: the level is made of the sources
// the user named, typed or picked, and of no other; where nothing names one
// of several, the level is not converted and the reason names them all.
TEST(ConvertFieldText, ConvertsOnlyFromTheSourcesTheUserNamed) {
  const auto write_sources = [](const TempDir& dir, const std::string& name, bool upper,
                                const TgaBuilder& map) {
    const auto suffix = [upper](std::string lower) {
      if (upper) std::transform(lower.begin(), lower.end(), lower.begin(), ::toupper);
      return lower;
    };
    dir.write(name + suffix(".txt"), test::complete_config({{"RANDOMSEED", upper ? "2" : "1"}}));
    dir.write(name + suffix(".jpg"), std::string("\xFF\xD8 level picture \xFF\xD9"));
    map.save(dir.path() / (name + suffix(".tga")));
  };
  const TgaBuilder lower_map(4, 4), upper_map(6, 2);
  // The level files of either set of sources alone.
  TempDir alone;
  write_sources(alone, "lower", false, lower_map);
  write_sources(alone, "upper", true, upper_map);
  test::ScriptedPrompts ignored;
  convert_field_text(alone.prefix("lower") + " | " + alone.prefix("upper"), ignored);
  const std::vector<std::uint8_t> lower = alone.read("lower.lev"), upper = alone.read("upper.lev");

  TempDir dir;
  write_sources(dir, "jungle", false, lower_map);
  write_sources(dir, "JUNGLE", true, upper_map);
  // Only the map is there twice.
  write_sources(dir, "cave", false, lower_map);
  upper_map.save(dir.path() / "CAVE.TGA");
  if (!dir.holds("jungle.txt") || !dir.holds("JUNGLE.TXT")) {
    GTEST_SKIP() << "the file system keeps one of two names differing only in letter case";
  }
  const std::string both_jungles =
      dir.prefix("JUNGLE.TXT") + " and " + dir.prefix("jungle.txt") + " both match: rename one";
  const std::string both_caves =
      dir.prefix("CAVE.TGA") + " and " + dir.prefix("cave.tga") + " both match: rename one";
  const struct {
    std::string typed;
    std::string picked;                      // in the folder, or empty
    const std::vector<std::uint8_t>* level;  // or a failure:
    std::string missing;                     // the file its message names
    std::string reason;
  } cases[] = {
      {"jungle.txt", "", &lower, "", ""},
      {"jungle", "jungle.txt", &lower, "", ""},
      {"JUNGLE", "", &upper, "", ""},
      {"JUNGLE.TXT", "", &upper, "", ""},
      {"JUNGLE", "jungle.txt", &upper, "", ""},
      {"cave.txt", "", &lower, "", ""},
      {"cave", "cave.txt", &lower, "", ""},
      {"jungle", "", nullptr, "jungle.txt", both_jungles},
      {"jungle.Txt", "", nullptr, "jungle.txt", both_jungles},
      {"jungle", "JUNGLE.txt", nullptr, "jungle.txt", both_jungles},
      {"cave", "", nullptr, "cave.tga", both_caves},
      {"cave.TXT", "", nullptr, "cave.tga", both_caves},
  };
  for (const auto& c : cases) {
    const std::string row = c.typed + " picked " + c.picked;
    const std::string level_file = prefix_from_argument(c.typed) + ".lev";
    std::filesystem::remove(dir.prefix(level_file));
    test::ScriptedPrompts prompts;
    std::vector<std::string> picked;
    if (!c.picked.empty()) picked.push_back(dir.prefix(c.picked));
    convert_field_text(dir.prefix(c.typed), prompts, picked);
    if (c.level) {
      EXPECT_TRUE(dir.holds(level_file) && dir.read(level_file) == *c.level) << row;
      continue;
    }
    EXPECT_FALSE(dir.exists(level_file)) << row;
    ASSERT_EQ(prompts.prompts.size(), 1u) << row << "\n" << shown_texts(prompts);
    EXPECT_TRUE(prompts.prompts[0].text.ends_with("File missing:\n" + dir.prefix(c.missing)))
        << row << "\n"
        << shown_texts(prompts);
    EXPECT_EQ(prompts.prompts[0].reasons, std::vector<std::string>{c.reason}) << row;
  }
}

}  // namespace
}  // namespace zur::dialog
