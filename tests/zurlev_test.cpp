// SPDX-License-Identifier: MIT
// End-to-end tests of the zurlev command, and its command line.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/zurlev_options.h"
#include "tests/support/level_sources.h"
#include "tests/support/run_command.h"
#include "tests/support/system_reasons.h"

namespace zur {
namespace {

using test::CommandOutput;
using test::TempDir;

CommandOutput zurlev(const TempDir& dir, const std::vector<std::string>& arguments) {
  return test::run_command(ZURLEV_PATH, arguments, dir.path());
}

// A converted level "level" in `dir`: GGLEVEL no, its picture not a JPEG.
void converted_level(const TempDir& dir) {
  test::TgaBuilder map(30, 20, {0, 0, 255});
  map.set(3, 4, {1, 2, 180});
  test::write_level(dir, "level", map, test::complete_config({{"SIGND", "7"}}));
  ASSERT_EQ(test::run_command(ZURCONV_PATH, {"-q", "level"}, dir.path()).status, 0);
}

TEST(ZurlevOptions, ParsesCommandsOptionsAndLevels) {
  const struct {
    std::vector<std::string> arguments;
    std::string error;
  } cases[] = {
      {{"info", "--json", "--objects", "a.lev", "b.lev"}, ""},
      {{"unpack", "-o", "out", "--width", "640", "--force", "a.lev"}, ""},
      {{"--help"}, ""},
      {{}, "no command given"},
      {{"pack", "a.lev"}, "unknown command pack"},
      {{"info"}, "no LEVEL given"},
      {{"info", "--force", "a.lev"}, "unknown option --force"},
      {{"unpack", "--json", "a.lev"}, "unknown option --json"},
      {{"unpack", "a.lev", "b.lev"}, "unpack takes one LEVEL"},
      {{"unpack", "--width", "0", "a.lev"}, "--width needs a number from 1 to 65535, not 0"},
      {{"unpack", "--width", "70000", "a.lev"},
       "--width needs a number from 1 to 65535, not 70000"},
      {{"unpack", "a.lev", "-o"}, "-o needs a value"},
      {{"unpack", "--width", "7", "--width"}, "--width needs a value"},
      {{"info", "-jx", "a.lev"}, "unknown option -jx"},
      {{"info", "--json=1", "a.lev"}, "unknown option --json=1"},
      {{"info", "--help", "a.lev"}, "unknown option --help"},
      {{"unpack", "--width=", "a.lev"}, "--width needs a number from 1 to 65535, not "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cli::parse_level_arguments(c.arguments).error, c.error)
        << ::testing::PrintToString(c.arguments);
  }
  const cli::LevelOptions unpack =
      cli::parse_level_arguments({"unpack", "-o", "out", "--width", "640", "--force", "a.lev"})
          .options;
  EXPECT_EQ(unpack.directory, "out");
  EXPECT_EQ(unpack.width, 640u);
  EXPECT_TRUE(unpack.force);
  // Values are typed as zurconv's are, too.
  const cli::LevelOptions joined =
      cli::parse_level_arguments({"unpack", "-oout", "--width=640", "a.lev"}).options;
  EXPECT_EQ(joined.directory, "out");
  EXPECT_EQ(joined.width, 640u);
}

TEST(ZurlevOptions, UsageAndHelpComeFromTheCommandsTables) {
  EXPECT_EQ(cli::level_usage(),
            "usage: zurlev info [--json] [--objects] LEVEL.lev...\n"
            "       zurlev unpack [-o DIR] [--width W] [--force] LEVEL.lev");
  const std::string help = cli::level_command_help();
  for (const char* line : {"info    tells what each level file holds", "\n  --objects  list",
                           "\nunpack  writes the sources", "\n  -o DIR     write them into DIR",
                           "\n  --force    overwrite sources that exist\n"}) {
    EXPECT_NE(help.find(line), std::string::npos) << line << "\n" << help;
  }
}

TEST(Zurlev, UsageErrorsExitWithTwo) {
  TempDir dir;
  const CommandOutput run = zurlev(dir, {"info"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.substr(0, 24), "zurlev: no LEVEL given\nu");
}

TEST(Zurlev, InfoTellsTheFactsAsTextAndJson) {
  TempDir dir;
  converted_level(dir);
  const CommandOutput text = zurlev(dir, {"info", "--objects", "level.lev"});
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("  SIGND: \"7\"\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("x: 3, y: 4, kind: 2, parameters: [1, 2, 0, 0, 0]"), std::string::npos)
      << text.out;

  const CommandOutput json = zurlev(dir, {"info", "--json", "level.lev", "missing.lev"});
  EXPECT_EQ(json.status, 1);  // one file cannot be read
  const nlohmann::json documents = nlohmann::json::parse(json.out);
  ASSERT_EQ(documents.size(), 2u);
  EXPECT_EQ(documents[0]["objects"]["count"], 1);
  EXPECT_EQ(documents[0]["stream"]["pixels"], 600);
  EXPECT_EQ(documents[0]["sound"], true);
  EXPECT_EQ(documents[1]["error"], "cannot read missing.lev: " + test::file_missing_reason());
}

TEST(Zurlev, InfoOnADamagedFileNamesTheProblemAndFails) {
  TempDir dir;
  converted_level(dir);
  std::vector<std::uint8_t> level = dir.read("level.lev");
  level.resize(level.size() - 1);
  dir.write("level.lev", level);
  const CommandOutput run = zurlev(dir, {"info", "level.lev"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("no end token"), std::string::npos) << run.out;
}

// A file in the folder given with -o, spelled with the system's separator.
std::string in_out(const std::string& name) {
  return (std::filesystem::path("out") / name).string();
}

TEST(Zurlev, UnpackRebuildsTheLevelAndNeverOverwritesUnasked) {
  TempDir dir;
  converted_level(dir);
  std::filesystem::create_directory(dir.path() / "out");
  const CommandOutput unknown = zurlev(dir, {"unpack", "-o", "out", "level.lev"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.err.find("give the width with --width W"), std::string::npos) << unknown.err;
  EXPECT_FALSE(dir.exists("out/level.txt"));

  const CommandOutput unpacked = zurlev(dir, {"unpack", "-o", "out", "--width", "30", "level.lev"});
  EXPECT_EQ(unpacked.status, 0) << unpacked.err;
  EXPECT_EQ(unpacked.out, "wrote " + in_out("level.txt") + "\nwrote " + in_out("level.tga") +
                              "\nwrote " + in_out("level.jpg") + "\n");
  ASSERT_EQ(test::run_command(ZURCONV_PATH, {"-q", "out/level"}, dir.path()).status, 0);
  EXPECT_EQ(dir.read("out/level.lev"), dir.read("level.lev"));

  dir.write("out/level.jpg", std::string("mine"));
  const CommandOutput again = zurlev(dir, {"unpack", "-o", "out", "--width", "30", "level.lev"});
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(again.err, "zurlev: cannot write " + in_out("level.txt") +
                           ": it exists (--force overwrites); nothing written\n");
  EXPECT_EQ(dir.read("out/level.jpg"), std::vector<std::uint8_t>({'m', 'i', 'n', 'e'}));
  // The last of the files alone is found too, and nothing is written.
  std::filesystem::remove(dir.path() / "out/level.txt");
  std::filesystem::remove(dir.path() / "out/level.tga");
  EXPECT_EQ(zurlev(dir, {"unpack", "-o", "out", "--width", "30", "level.lev"}).err,
            "zurlev: cannot write " + in_out("level.jpg") +
                ": it exists (--force overwrites); nothing written\n");
  EXPECT_FALSE(dir.exists("out/level.txt"));
  EXPECT_EQ(zurlev(dir, {"unpack", "--force", "-o", "out", "--width", "30", "level.lev"}).status,
            0);
  EXPECT_NE(dir.read("out/level.jpg").size(), 4u);
}

// Output that never reaches standard output fails the run.
TEST(Zurlev, LostStandardOutputFails) {
  TempDir dir;
  converted_level(dir);
  const std::vector<std::string> runs[] = {
      {"info", "level.lev"},
      {"info", "--json", "level.lev"},
      {"unpack", "-o", ".", "--width", "30", "--force", "level.lev"},
  };
  for (const std::vector<std::string>& arguments : runs) {
    test::CommandSetup setup;
    setup.out_lost = true;
    const CommandOutput run = test::run_command(ZURLEV_PATH, arguments, dir.path(), setup);
    EXPECT_EQ(run.status, 1) << arguments.front();
    const std::string lost = "zurlev: cannot write standard output";
    EXPECT_NE(run.err.find(lost), std::string::npos) << run.err;
    if (const auto reason = test::lost_output_reason()) {
      EXPECT_NE(run.err.find(lost + ": " + *reason), std::string::npos) << run.err;
    }
  }
}

}  // namespace
}  // namespace zur
