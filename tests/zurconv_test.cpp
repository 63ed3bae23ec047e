// SPDX-License-Identifier: MIT
// End-to-end tests of the zurconv command on levels built in temporary
// folders: what it prints where, how it answers, and its exit status.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/level/batch.h"
#include "tests/support/level_sources.h"
#include "tests/support/report_texts.h"
#include "tests/support/run_command.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/system_reasons.h"

namespace zur {
namespace {

using test::CommandOutput;
using test::kAirHint;
using test::kRule;
using test::TempDir;
using test::TgaBuilder;

const std::string kUsage =
    "usage: zurconv [-y|--yes] [-n|--no] [-s|--stats] [-q|--quiet] [-o|--output FILE] "
    "[--depfile FILE] [--check] [--json] [--mask] [--strict] [--repair-colours FILE] [-h|--help] "
    "[--version] LEVEL...";
const std::string kIllegalColoursFailed =
    "zurconv: level:\nConversion failed.\nIllegal colors used in attribute map!\nYou should only "
    "use "
    "specific\ncolors defined in makelev.txt.\nPlease read makelev.txt\n\n";
const TgaBuilder kAllAir(40, 40);  // enough air for no hint

CommandOutput zurconv(const TempDir& dir, const std::vector<std::string>& arguments) {
  return test::run_command(ZURCONV_PATH, arguments, dir.path());
}

std::string completion_asked(const std::string& prefix, const std::string& warnings, bool answer) {
  return "Conversion succesfully completed for level:\n" + kRule + "\n" + prefix + ".lev" +
         warnings + "\n\nDo you want to see info on conversion? [y/N] " + (answer ? "y" : "n") +
         "\n";
}

std::string illegal_asked(bool answer) {
  return "Illegal color (red:1, green:2, blue:3)\nat coordinates: x=1 y=0\nDo you want to "
         "continue anyway?\n(all illegal colors will be \"air\") [y/N] " +
         std::string(answer ? "y" : "n") + "\n";
}

TEST(Zurconv, SuccessPrintsTheAnsweredQuestionOnly) {
  TempDir dir;
  test::write_level(dir, "level", kAllAir);
  const CommandOutput run = zurconv(dir, {"level"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, completion_asked("level", "", false));
  EXPECT_EQ(run.err, "");  // no progress bar without a terminal
  EXPECT_TRUE(dir.exists("level.lev"));
}

TEST(Zurconv, HintsAreMessagesOnStandardOutput) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(4, 4));
  const CommandOutput run = zurconv(dir, {"level"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, completion_asked("level", "", false) + kAirHint + "\n\n");
  EXPECT_EQ(run.err, "");
}

TEST(Zurconv, StatsAnswersTheInfoQuestionYes) {
  TempDir dir;
  test::write_level(dir, "level", kAllAir);
  const CommandOutput run = zurconv(dir, {"-s", "level"});
  EXPECT_EQ(run.status, 0);
  const std::string head = completion_asked("level", "", true) +
                           "Attribute map info:\nPacked: 4, Unpacked: 1600\nRatio: 400 (bigger is "
                           "better)\n\nLevel is taking memory: 0.0 megabytes\n\nObjects (turrets, "
                           "gates etc.)\nin the level: 0\n\nAmounts for certain attributes:\n"
                           "Empty: 100.0 %\nBasic land: 0.0 %\nWater: 0.0 %\nRepair place: 0.0 "
                           "%\n\nConversion time: ";
  ASSERT_GE(run.out.size(), head.size());
  EXPECT_EQ(run.out.substr(0, head.size()), head);
  const std::string tail = " seconds\n\n";
  EXPECT_EQ(run.out.substr(run.out.size() - tail.size()), tail);
  EXPECT_EQ(run.err, "");
}

TEST(Zurconv, MissingConfigIsAnErrorOnStandardError) {
  TempDir dir;
  const CommandOutput run = zurconv(dir, {"none"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "zurconv: none:\n"
            "Conversion failed.\nLevel config file not found.\n\nFile missing:\nnone.txt\n\n");
  EXPECT_FALSE(dir.exists("none.lev"));
}

TEST(Zurconv, FailedLevelDoesNotStopTheOthers) {
  TempDir dir;
  test::write_level(dir, "level", kAllAir);
  const CommandOutput run = zurconv(dir, {"none", "level", ""});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, completion_asked("level", "", false));
  EXPECT_EQ(run.err,
            "zurconv: none:\n"
            "Conversion failed.\nLevel config file not found.\n\nFile missing:\nnone.txt\n\n"
            "zurconv: \"\":\n"
            "Conversion failed.\n\nGive a filename.\n\n"
            "zurconv: 2 of 3 levels failed: none, \"\"\n");
  EXPECT_TRUE(dir.exists("level.lev"));
}

// An empty argument is shown as "", wherever it stands; others as typed.
TEST(Zurconv, EmptyLevelArgumentIsShownQuoted) {
  TempDir dir;
  const CommandOutput run = zurconv(dir, {"", "lvA", "\"\""});
  EXPECT_EQ(run.status, 1);
  const std::string missing = "Conversion failed.\nLevel config file not found.\n\nFile missing:\n";
#ifdef _WIN32
  // Windows' names hold no quotation mark: its level file cannot be made.
  const std::string quoted_level_fails =
      "Conversion failed.\n\nCould not access \n\"\".lev\n\nzurconv: \"\": cannot write "
      "\"\".lev: " +
      test::invalid_name_reason() + "\n";
#else
  const std::string quoted_level_fails = missing + "\"\".txt\n\n";
#endif
  EXPECT_EQ(run.err,
            "zurconv: \"\":\nConversion failed.\n\nGive a filename.\n\n"
            "zurconv: lvA:\n" +
                missing +
                "lvA.txt\n\n"
                "zurconv: \"\":\n" +
                quoted_level_fails + "zurconv: 3 of 3 levels failed: \"\", lvA, \"\"\n");
}

TEST(Zurconv, EachArgumentIsOneLevelAsTyped) {
#ifdef _WIN32
  // Windows' names hold neither '|' nor a tab.
  const std::string first = " a &b", second = "c'";
#else
  const std::string first = " a |b", second = "c\t";
#endif
  TempDir dir;
  test::write_level(dir, first, kAllAir);
  test::write_level(dir, second, kAllAir);
  const CommandOutput run = zurconv(dir, {first, second + ".txt"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, completion_asked(first, "", false) + completion_asked(second, "", false));
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(dir.exists(first + ".lev"));
  EXPECT_TRUE(dir.exists(second + ".lev"));
  EXPECT_FALSE(dir.exists("a.lev"));
}

TEST(Zurconv, ConfigFileNamesAreTakenAsLevels) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "levels");
  test::write_level(dir, "levels/a", kAllAir);
  test::write_level(dir, "levels/b", kAllAir);
  const CommandOutput run = zurconv(dir, {"levels/a.txt", "levels/b.TXT"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            completion_asked("levels/a", "", false) + completion_asked("levels/b", "", false));
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(dir.exists("levels/a.lev"));
  EXPECT_TRUE(dir.exists("levels/b.lev"));
}

TEST(Zurconv, IllegalColourAnswers) {
  const std::string warned =
      "\n\nWarnings:\n - You had illegal colors in your attribute map\n"
      "Total 1 warnings";
  const struct {
    std::vector<std::string> options;
    int status;
    std::string out, err;
  } cases[] = {
      {{"-y"}, 0, illegal_asked(true) + completion_asked("level", warned, false), ""},
      {{"--yes"}, 0, illegal_asked(true) + completion_asked("level", warned, false), ""},
      {{"-n"}, 1, illegal_asked(false), kIllegalColoursFailed},
      {{}, 1, illegal_asked(false), kIllegalColoursFailed},  // no terminal to ask
      {{"-q", "-y"}, 0, "", ""},
      {{"-q"}, 1, "", kIllegalColoursFailed},
  };
  for (const auto& c : cases) {
    TempDir dir;
    test::write_level(dir, "level", TgaBuilder(40, 40).set(1, 0, {1, 2, 3}));
    std::vector<std::string> arguments = c.options;
    arguments.push_back("level");
    const CommandOutput run = zurconv(dir, arguments);
    const std::string row = ::testing::PrintToString(c.options);
    EXPECT_EQ(run.status, c.status) << row;
    EXPECT_EQ(run.out, c.out) << row;
    EXPECT_EQ(run.err, c.err) << row;
    EXPECT_EQ(dir.exists("level.lev"), c.status == 0) << row;
  }
}

TEST(Zurconv, QuietPrintsOnlyErrors) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(64, 64, {168, 168, 168}));  // hints shown
  const CommandOutput run = zurconv(dir, {"-q", "-s", "level", "none"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "zurconv: none:\n"
            "Conversion failed.\nLevel config file not found.\n\nFile missing:\nnone.txt\n\n"
            "zurconv: 1 of 2 levels failed: none\n");
  EXPECT_TRUE(dir.exists("level.lev"));
}

TEST(Zurconv, RepairQuestionIsAnsweredNo) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(64, 64, {168, 168, 168}));
  const CommandOutput run = zurconv(dir, {"-y", "level"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, completion_asked("level", "", false) + kAirHint +
                         "\n\nAre you going to just repair all day long?\nOver 1/10 of your level "
                         "is repairing place.. [y/N] n\n");
}

TEST(Zurconv, RefusedLevelFileIsAFailure) {
  TempDir dir;
  test::write_level(dir, "level", kAllAir);
#ifdef _WIN32
  // A device's name is the device in every folder, whatever its suffix.
  const std::string level_file = "NUL.lev";
  const CommandOutput run = zurconv(dir, {"-s", "-o", level_file, "level"});
#else
  const std::string level_file = "level.lev";
  std::filesystem::create_symlink("/dev/full", dir.path() / level_file);
  const CommandOutput run = zurconv(dir, {"-s", "level"});
#endif
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "zurconv: level:\nConversion failed.\n\nCould not access \n" + level_file +
                         "\n\nzurconv: level: cannot write " + level_file +
                         ": not a regular file\n");
}

TEST(Zurconv, VersionInTheGnuForm) {
  TempDir dir;
  const CommandOutput run = zurconv(dir, {"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "zurconv (ZUR level converter) 1.0.0");
  EXPECT_NE(run.out.find("\nCopyright (c) 2026 "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\nLicense MIT"), std::string::npos) << run.out;
}

TEST(Zurconv, UsageErrors) {
  const std::vector<std::string> cases[] = {
      {},
      {"-x", "level"},
      {"level", "--bogus"},
      {"-s"},
      {"-o", "x.lev", "level", "level"},
      {"--depfile", "level.d", "level", "level"},
      {"-o", "level.txt", "level"},
      {"level", "-o"},
      {"--repair-colours", "fixed.tga", "level", "level"},
  };
  for (const auto& arguments : cases) {
    TempDir dir;
    test::write_level(dir, "level", kAllAir);
    const CommandOutput run = zurconv(dir, arguments);
    const std::string row = ::testing::PrintToString(arguments);
    EXPECT_EQ(run.status, 2) << row;
    EXPECT_EQ(run.out, "") << row;
    const std::size_t line_end = run.err.find('\n');
    ASSERT_NE(line_end, std::string::npos) << row;
    EXPECT_GT(line_end, 0u) << row;
    EXPECT_EQ(run.err.substr(line_end + 1), kUsage + "\n") << row;
    EXPECT_FALSE(dir.exists("level.lev")) << row;
  }
}

TEST(Zurconv, WritesTheSameLevelFileAsTheEngine) {
  TgaBuilder picture(70, 33, {0, 152, 0});
  picture.set(3, 4, {7, 8, 230}).set(69, 32, {1, 0, 180}).set(10, 10, {0, 0, 255});
  TempDir by_command, by_engine;
  test::write_level(by_command, "level", picture);
  test::write_level(by_engine, "level", picture);
  ASSERT_EQ(zurconv(by_command, {"level"}).status, 0);
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  ASSERT_EQ(converter.run_job(by_engine.prefix("level")), ConversionResult::kSuccess);
  EXPECT_EQ(by_command.read("level.lev"), by_engine.read("level.lev"));
}

TEST(Zurconv, RepairColoursWritesTheRepairedMapOnly) {
  const TgaBuilder map = TgaBuilder(5, 4, {0, 152, 0}).set(0, 0, {1, 2, 3}).set(4, 3, {7, 8, 230});
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string out, err;
    bool written;
  } cases[] = {
      {{"--repair-colours", "fixed.tga", "level"},
       0,
       "fixed.tga: 1 illegal pixel of level.TGA repaired\n",
       "",
       true},
      {{"-q", "--repair-colours=fixed.tga", "level.txt"}, 0, "", "", true},
      {{"--repair-colours", "level.TGA", "level"},
       1,
       "",
       "zurconv: cannot write level.TGA: it is the same file as level.TGA\n",
       false},
  };
  for (const auto& c : cases) {
    TempDir dir;
    test::write_level(dir, "level", map);
    const CommandOutput run = zurconv(dir, c.arguments);
    const std::string row = ::testing::PrintToString(c.arguments);
    EXPECT_EQ(run.status, c.status) << row;
    EXPECT_EQ(run.out, c.out) << row;
    EXPECT_EQ(run.err, c.err) << row;
    EXPECT_EQ(dir.read("level.TGA"), map.bytes()) << row;
    EXPECT_FALSE(dir.exists("level.lev")) << row;
    if (c.written) {
      EXPECT_EQ(dir.read("fixed.tga"), TgaBuilder(map).set(0, 0, {0, 152, 0}).bytes()) << row;
    }
  }
}

CommandOutput zurconv_on_terminal(const TempDir& dir, const std::vector<std::string>& arguments) {
  return test::run_command(ZURCONV_PATH, arguments, dir.path(),
                           {.err_on_terminal = true, .typed_input = {}, .out_lost = false});
}

TEST(Zurconv, ProgressIsDrawnOnlyOnATerminal) {
  if (!test::has_pseudo_terminals()) GTEST_SKIP() << "no pseudo-terminals here";
  TempDir dir;
  test::write_level(dir, "level", kAllAir);
  const CommandOutput run = zurconv_on_terminal(dir, {"level"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("100%"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, completion_asked("level", "", false));
}

TEST(Zurconv, BatchBarNamesTheLevelAndItsPlace) {
  if (!test::has_pseudo_terminals()) GTEST_SKIP() << "no pseudo-terminals here";
  TempDir dir;
  test::write_level(dir, "a", kAllAir);
  test::write_level(dir, "levels b", kAllAir);
  const CommandOutput batch = zurconv_on_terminal(dir, {"a", "levels b"});
  EXPECT_EQ(batch.status, 0);
  EXPECT_NE(batch.err.find("[1/2] a ["), std::string::npos) << batch.err;
  EXPECT_NE(batch.err.find("[2/2] levels b ["), std::string::npos) << batch.err;
  const CommandOutput single = zurconv_on_terminal(dir, {"a"});
  EXPECT_EQ(single.err.find("[1/1]"), std::string::npos) << single.err;
}

TEST(Zurconv, BatchBarOfALongNameFitsOnOneLine) {
  if (!test::has_pseudo_terminals()) GTEST_SKIP() << "no pseudo-terminals here";
  TempDir dir;
  const std::string name = std::string(60, 'x') + "_tail";
  test::write_level(dir, "a", kAllAir);
  test::write_level(dir, name, kAllAir);
  const CommandOutput run = zurconv_on_terminal(dir, {"a", name});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("[2/2] ...x"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("x_tail ["), std::string::npos) << run.err;
  std::size_t start = 0;
  for (std::size_t end; (end = run.err.find('\r', start)) != std::string::npos; start = end + 1) {
    EXPECT_LT(end - start, 80u) << run.err.substr(start, end - start);  // a terminal of 80 columns
  }
}

TEST(Zurconv, QuietDrawsNoBar) {
  if (!test::has_pseudo_terminals()) GTEST_SKIP() << "no pseudo-terminals here";
  TempDir dir;
  test::write_level(dir, "a", kAllAir);
  test::write_level(dir, "b", kAllAir);
  const CommandOutput run = zurconv_on_terminal(dir, {"-q", "a", "b"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, "");
}

TEST(Zurconv, FullStandardOutputIsAFailureAfterEveryLevel) {
  TempDir dir;
  test::write_level(dir, "a", kAllAir);
  test::write_level(dir, "b", kAllAir);
  const CommandOutput run =
      test::run_command(ZURCONV_PATH, {"a", "b"}, dir.path(),
                        {.err_on_terminal = false, .typed_input = {}, .out_lost = true});
  EXPECT_EQ(run.status, 1);
  const std::string lost = "zurconv: cannot write standard output";
  EXPECT_TRUE(run.err.starts_with(lost) && run.err.find('\n') == run.err.size() - 1) << run.err;
  if (const auto reason = test::lost_output_reason()) {
    EXPECT_EQ(run.err, lost + ": " + *reason + "\n");
  }
  EXPECT_TRUE(dir.exists("a.lev"));
  EXPECT_TRUE(dir.exists("b.lev"));
}

TEST(Zurconv, OutputNamesTheLevelFileAndSourcesKeepThePrefix) {
  TempDir dir;
  test::write_level(dir, "level", kAllAir);
  std::filesystem::create_directory(dir.path() / "out");
  const CommandOutput written = zurconv(dir, {"-o", "out/l1.lev", "level"});
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out, completion_asked("out/l1", "", false));
  EXPECT_TRUE(dir.exists("out/l1.lev"));
  EXPECT_FALSE(dir.exists("level.lev"));

  const CommandOutput unwritable = zurconv(dir, {"--output=none/l1.lev", "level"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.err,
            "zurconv: level:\nConversion failed.\n\nCould not access \nnone/l1.lev\n\n"
            "zurconv: level: cannot write none/l1.lev: " +
                test::folder_missing_reason() + "\n");

  std::filesystem::remove(dir.path() / "level.TGA");
  const CommandOutput failed = zurconv(dir, {"-qoout/l1.lev", "level"});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.err,
            "zurconv: level:\nConversion failed.\nAttribute map TGA file not found.\n\nFile "
            "missing:\nlevel.tga\n\n");
  EXPECT_FALSE(dir.exists("out/l1.lev"));
}

TEST(Zurconv, DepfileNamesTheLevelFileAndTheSourcesRead) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "my levels");
  test::write_level(dir, "my levels/lvl", kAllAir, test::complete_config({{"PARA", "yes"}}));
  dir.write("my levels/LVLp.jpg", std::string("parallax"));
  std::filesystem::create_directory(dir.path() / "out#1");
  const CommandOutput run =
      zurconv(dir, {"-q", "--depfile", "lvl.d", "--output", "out#1/$lvl.lev", "my levels/lvl.txt"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(test::read_whole(dir.path() / "lvl.d"),
            "out\\#1/$$lvl.lev: my\\ levels/lvl.TXT \\\n"
            " my\\ levels/lvl.TGA \\\n"
            " my\\ levels/lvl.JPG \\\n"
            " my\\ levels/LVLp.jpg\n");

  std::filesystem::remove(dir.path() / "lvl.d");
  std::filesystem::remove(dir.path() / "my levels/LVLp.jpg");
  EXPECT_EQ(zurconv(dir, {"--depfile", "lvl.d", "my levels/lvl"}).status, 1);
  EXPECT_FALSE(dir.exists("lvl.d"));
}

TEST(Zurconv, DepfileThatCannotBeWrittenIsAFailure) {
  TempDir dir;
  test::write_level(dir, "level", kAllAir);
  const CommandOutput run = zurconv(dir, {"-q", "--depfile", "none/level.d", "level"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "zurconv: cannot write none/level.d: " + test::folder_missing_reason() + "\n");
}

TEST(Zurconv, IllegalColourQuestionIsReadFromATerminal) {
  if (!test::has_pseudo_terminals()) GTEST_SKIP() << "no pseudo-terminals here";
  const std::string warned =
      "\n\nWarnings:\n - You had illegal colors in your attribute map\nTotal 1 warnings";
  const struct {
    const char* name;
    std::string typed;
    bool yes;
  } cases[] = {
      {"yes", "yes\n", true},
      {"y", "y\n", true},
      {"Y", "Y\n", true},
      {"no", "no\n", false},
      {"empty line", "\n", false},
      {"input ended", "\x04", false},
      {"y, then input ended", "y\x04\x04", true},
  };
  for (const auto& c : cases) {
    TempDir dir;
    test::write_level(dir, "level", TgaBuilder(40, 40).set(1, 0, {1, 2, 3}));
    const CommandOutput run =
        test::run_command(ZURCONV_PATH, {"level"}, dir.path(),
                          {.err_on_terminal = false, .typed_input = c.typed, .out_lost = false});
    EXPECT_EQ(run.status, c.yes ? 0 : 1) << c.name;
    EXPECT_EQ(run.out,
              illegal_asked(c.yes) + (c.yes ? completion_asked("level", warned, false) : ""))
        << c.name;
    EXPECT_EQ(run.err, c.yes ? "" : kIllegalColoursFailed) << c.name;
  }
}

}  // namespace
}  // namespace zur
