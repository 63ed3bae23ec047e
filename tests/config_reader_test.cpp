// SPDX-License-Identifier: MIT
#include "engine/level/config_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/level/config_check.h"
#include "tests/support/faulty_system.h"
#include "tests/support/level_bytes.h"
#include "tests/support/level_sources.h"

namespace zur {
namespace {

struct ReadOutcome {
  ConfigOutcome result;
  LevelSettings settings;
  FoundFlags found;
  std::vector<std::string> warnings;
};

// Reads `text` as a config file into a freshly reset record. The found flags
// start out all set, so that the reader has to clear them itself.
ReadOutcome read_config(const std::string& text) {
  ReadOutcome out{};
  out.found.fill(true);
  WarningList warnings;
  out.result = parse_level_config(text, out.settings, out.found, warnings);
  out.warnings = warnings.texts();
  return out;
}

std::string setting(const std::string& keyword, const std::string& value) {
  return "/" + keyword + "\n" + value + "\n";
}

// The zero-terminated text at `offset`, at most `size` bytes.
std::string text_at(const LevelSettings& settings, std::size_t offset,
                    std::size_t size = field::kTextSize) {
  std::string text;
  for (std::size_t i = 0; i < size && settings.bytes()[offset + i] != 0; ++i) {
    text += static_cast<char>(settings.bytes()[offset + i]);
  }
  return text;
}

std::uint32_t le32_at(const LevelSettings& settings, std::size_t offset) {
  return test::le32(settings.bytes(), offset);
}

std::string sign_first(const LevelSettings& settings, std::size_t slot) {
  return text_at(settings, field::kSignTable + slot * field::kSignSlotSize, field::kSignHalfSize);
}
std::string sign_second(const LevelSettings& settings, std::size_t slot) {
  return text_at(settings, field::kSignTable + slot * field::kSignSlotSize + field::kSignHalfSize,
                 field::kSignHalfSize);
}

constexpr std::size_t kMakerIndex = 0;
constexpr std::size_t kEmailIndex = 1;
constexpr std::size_t kParaIndex = 2;
constexpr std::size_t kWaterIndex = 5;
constexpr std::size_t kGgShapeIndex = 15;

const std::vector<std::string> kNoWarnings;

TEST(ConfigFile, MissingFileGivesNotFoundAndClearsCountedFlags) {
  test::TempDir dir;
  LevelSettings settings;
  FoundFlags found;
  found.fill(true);
  WarningList warnings;
  EXPECT_EQ(read_level_config(dir.prefix("none.TXT"), settings, found, warnings,
                              platform::default_system()),
            ConfigOutcome::kMissing);
  for (std::size_t i = 0; i < kCountedKeywords; ++i) EXPECT_FALSE(found[i]) << kKeywords[i].name;
  EXPECT_TRUE(found[20]);
  EXPECT_TRUE(found[21]);
  EXPECT_EQ(settings.bytes(), LevelSettings().bytes());
}

TEST(ConfigFile, DirectoryInsteadOfFileGivesNotFound) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.path() / "level.TXT");
  LevelSettings settings;
  FoundFlags found{};
  WarningList warnings;
  EXPECT_EQ(read_level_config(dir.prefix("level.TXT"), settings, found, warnings,
                              platform::default_system()),
            ConfigOutcome::kMissing);
}

TEST(ConfigFile, EmptyFileIsIncompleteWithoutWarnings) {
  const ReadOutcome out = read_config("");
  EXPECT_EQ(out.result, ConfigOutcome::kIncomplete);
  EXPECT_EQ(out.warnings, kNoWarnings);
  for (std::size_t i = 0; i < kCountedKeywords; ++i) EXPECT_FALSE(out.found[i]) << i;
}

// Reads the file at `path` as read_config reads a text.
ReadOutcome read_config_file(const std::string& path,
                             platform::System& system = platform::default_system()) {
  ReadOutcome out{};
  out.found.fill(true);
  WarningList warnings;
  out.result = read_level_config(path, out.settings, out.found, warnings, system);
  out.warnings = warnings.texts();
  return out;
}

void expect_same(const ReadOutcome& file, const ReadOutcome& text, const std::string& row) {
  EXPECT_EQ(file.result, text.result) << row;
  EXPECT_EQ(file.settings.bytes(), text.settings.bytes()) << row;
  EXPECT_EQ(file.found, text.found) << row;
  EXPECT_EQ(file.warnings, text.warnings) << row;
}

// A config text of lines near the length the reader keeps, carriage
// returns, byte order marks and keywords; long enough to span several of
// the blocks a file is read in.
std::string random_config(std::mt19937& random) {
  static const std::vector<std::string> kPieces = {
      "/MAKER",   "/maker", "/CIVIL",       "/PARA", "/SIGNTEXT2", "/NONSENSE",  "yes",
      "12,34,56", "\r",     "\xEF\xBB\xBF", "a,b",   "",           "-2147483649"};
  std::string text;
  const int lines = std::uniform_int_distribution<int>(0, 60)(random);
  for (int i = 0; i < lines; ++i) {
    std::string line = kPieces[random() % kPieces.size()];
    const int pad = std::uniform_int_distribution<int>(0, 4)(random);
    if (pad > 0) line.append(random() % 2 ? 155 + pad : random() % 70000, 'x');
    if (random() % 4 == 0) line += '\r';
    text += line + (random() % 16 == 0 ? "" : "\n");
  }
  if (random() % 3 == 0) text = "\xEF\xBB\xBF" + text;
  return text;
}

TEST(ConfigFile, FileReadsLikeTheSameTextInMemory) {
  std::mt19937 random(8);
  test::TempDir dir;
  for (int round = 0; round < 150; ++round) {
    const std::string text = random_config(random);
    dir.write("level.TXT", text);
    expect_same(read_config_file(dir.prefix("level.TXT")), read_config(text),
                "round " + std::to_string(round));
  }
}

// A file cut short while it is read reads like its text up to the cut; a
// read that fails leaves the config not found.
TEST(ConfigFile, ShortReadReadsLikeTheTextUpToTheCutAndFailedReadIsMissing) {
  std::mt19937 random(10);
  test::TempDir dir;
  for (int round = 0; round < 60; ++round) {
    const std::string text = random_config(random);
    dir.write("level.TXT", text);
    const std::size_t cut = random() % (text.size() + 1);
    test::FaultySystem system;
    system.fail_reads_at(cut);
    expect_same(read_config_file(dir.prefix("level.TXT"), system), read_config(text.substr(0, cut)),
                "round " + std::to_string(round) + ", cut at " + std::to_string(cut));
  }
  dir.write("level.TXT", test::complete_config());
  for (const std::uint64_t at : {0, 1, 100}) {
    test::FaultySystem system;
    system.fail_reads_at(at, std::make_error_code(std::errc::io_error));
    LevelSettings settings;
    FoundFlags found{};
    WarningList warnings;
    EXPECT_EQ(read_level_config(dir.prefix("level.TXT"), settings, found, warnings, system),
              ConfigOutcome::kMissing)
        << at;
  }
}

// The check takes values through the conversion's own rule; its reading of
// the lines must stay the conversion's too.
TEST(ConfigFile, CheckReadsTheSettingsTheConversionReads) {
  std::mt19937 random(9);
  for (int round = 0; round < 150; ++round) {
    const std::string text = random_config(random) + "/WATERC\n1,2,3\n/RANDOMSEED\n7\n";
    std::vector<Problem> problems;
    EXPECT_EQ(check_level_config(text, "level.TXT", problems).bytes(),
              read_config(text).settings.bytes())
        << "round " << round;
  }
}

// A hole of a sparse file reads as zeros, however long: a config of 100 GB
// costs neither its size in memory nor the time to read it all.
TEST(ConfigFile, HugeSparseFileReadsLikeAShortOne) {
#ifdef _WIN32
  GTEST_SKIP() << "a Windows file has holes only when marked sparse, and Wine keeps no mark: "
                  "the hole's 100 GB would be read";
#endif
  const std::string head = test::complete_config() + "a line with a hole: ";
  const std::string tail = "\n/MAKER\nafter the hole\n";
  constexpr std::uintmax_t kHole = std::uintmax_t{100} << 30;
  test::TempDir dir;
  dir.write("level.TXT", head);
  const std::string path = dir.prefix("level.TXT");
  std::filesystem::resize_file(dir.path() / "level.TXT", kHole);
  const ReadOutcome zeros = read_config(head + std::string(4000, '\0'));
  expect_same(read_config_file(path), zeros, "hole at the end");

  {
    std::ofstream file(path, std::ios::binary | std::ios::app);
    file << tail;
  }
  const ReadOutcome both = read_config(head + std::string(4000, '\0') + tail);
  EXPECT_EQ(text_at(both.settings, field::kMaker), "after the hole");
  expect_same(read_config_file(path), both, "hole inside a line");
}

// --- Keyword lines and the count of twenty ---

TEST(ConfigKeywords, EveryCountedKeywordOnceSucceedsWhateverTheSignLines) {
  const std::string signs = setting("SIGNTEXT1", "a") + setting("SIGNTEXT2", "b,c");
  for (const std::string& text : {test::complete_config(), signs + test::complete_config(),
                                  test::complete_config() + signs + signs}) {
    const ReadOutcome out = read_config(text);
    EXPECT_EQ(out.result, ConfigOutcome::kComplete) << text;
    EXPECT_EQ(out.warnings, kNoWarnings) << text;
    for (std::size_t i = 0; i < kKeywordCount; ++i) EXPECT_TRUE(out.found[i]) << kKeywords[i].name;
  }
}

TEST(ConfigKeywords, KeywordIsMatchedIgnoringLetterCase) {
  for (const char* keyword : {"MAKER", "maker", "MaKeR"}) {
    const ReadOutcome out = read_config(setting(keyword, "Bob"));
    EXPECT_EQ(text_at(out.settings, field::kMaker), "Bob") << keyword;
    EXPECT_TRUE(out.found[kMakerIndex]) << keyword;
    EXPECT_EQ(out.warnings, kNoWarnings) << keyword;
  }
}

TEST(ConfigKeywords, AnythingBesidesTheKeywordMakesAnUnknownKeyword) {
  for (const char* keyword : {"MAKER ", "MAKER\t", " MAKER", "MAKERS", "MAKE", "", "/MAKER"}) {
    const ReadOutcome out = read_config(setting(keyword, "Bob") + "/EMAIL\nme\n");
    EXPECT_EQ(text_at(out.settings, field::kMaker), "Anonymous") << "\"" << keyword << "\"";
    EXPECT_FALSE(out.found[kMakerIndex]) << "\"" << keyword << "\"";
    EXPECT_EQ(out.warnings, std::vector<std::string>{std::string(warning::kUnknownParameters)})
        << "\"" << keyword << "\"";
    EXPECT_EQ(text_at(out.settings, field::kEmail), "me") << "\"" << keyword << "\"";
  }
}

TEST(ConfigKeywords, UnknownKeywordsWarnOnceAndTheirValueLineIsAnOrdinaryLine) {
  const ReadOutcome out = read_config("/COLOR\n/MAKER\nBob\n/SIZE\n12\n/X\n");
  EXPECT_EQ(text_at(out.settings, field::kMaker), "Bob");
  EXPECT_EQ(out.warnings, std::vector<std::string>{std::string(warning::kUnknownParameters)});
}

TEST(ConfigKeywords, KeywordTwiceWhileAnotherIsMissingStillCountsTwenty) {
  const ReadOutcome out =
      read_config(test::complete_config({{"MAKER", ""}}) + setting("CIVIL", "7"));
  EXPECT_EQ(out.result, ConfigOutcome::kComplete);
  EXPECT_FALSE(out.found[kMakerIndex]);
  EXPECT_EQ(out.settings.bytes()[field::kCivil], 7);
}

TEST(ConfigKeywords, TwentyOneCountedLinesAreIncomplete) {
  const ReadOutcome out = read_config(test::complete_config() + setting("CIVIL", "7"));
  EXPECT_EQ(out.result, ConfigOutcome::kIncomplete);
  for (std::size_t i = 0; i < kKeywordCount; ++i) EXPECT_TRUE(out.found[i]) << kKeywords[i].name;
}

TEST(ConfigKeywords, NineteenCountedLinesAreIncomplete) {
  const ReadOutcome out = read_config(test::complete_config({{"RANDOMSEED", ""}}));
  EXPECT_EQ(out.result, ConfigOutcome::kIncomplete);
  EXPECT_FALSE(out.found[19]);
}

TEST(ConfigKeywords, RejectedValueCountsButLeavesFieldAndFlag) {
  const ReadOutcome out = read_config(test::complete_config({{"GGSHAPE", "maybe"}}));
  EXPECT_EQ(out.result, ConfigOutcome::kComplete);
  EXPECT_FALSE(out.found[kGgShapeIndex]);
  EXPECT_EQ(out.settings.bytes()[field::kGgShape], 1);
}

TEST(ConfigKeywords, SignLinesNeverCount) {
  std::string text = test::complete_config({{"RANDOMSEED", ""}});
  text += setting("SIGNTEXT1", "a") + setting("SIGNTEXT2", "nocomma");
  EXPECT_EQ(read_config(text).result, ConfigOutcome::kIncomplete);
}

// --- Lines ---

TEST(ConfigLines, KeywordLineRightAfterAKeywordLineIsItsValue) {
  const ReadOutcome out = read_config("/MAKER\n/EMAIL\nme@example.org\n");
  EXPECT_EQ(text_at(out.settings, field::kMaker), "/EMAIL");
  EXPECT_FALSE(out.found[kEmailIndex]);
  EXPECT_EQ(text_at(out.settings, field::kEmail), "");
  EXPECT_EQ(out.warnings, kNoWarnings);
}

TEST(ConfigLines, EmptyValueLineEndsTheReading) {
  const ReadOutcome out = read_config(setting("CIVIL", "5") + "/MAKER\n\n" + setting("EMAIL", "x"));
  EXPECT_EQ(out.settings.bytes()[field::kCivil], 5);
  EXPECT_FALSE(out.found[kMakerIndex]);
  EXPECT_FALSE(out.found[kEmailIndex]);
  EXPECT_EQ(text_at(out.settings, field::kMaker), "Anonymous");
  EXPECT_EQ(text_at(out.settings, field::kEmail), "");
}

TEST(ConfigLines, EmptyLineAfterCarriageReturnEndsTheReadingToo) {
  const ReadOutcome out = read_config("/MAKER\r\n\r\n/EMAIL\r\nx\r\n");
  EXPECT_FALSE(out.found[kMakerIndex]);
  EXPECT_FALSE(out.found[kEmailIndex]);
}

TEST(ConfigLines, CommentLinesAreIgnored) {
  const ReadOutcome out =
      read_config("MAKER\nJoe\n; /EMAIL\n" + setting("MAKER", "Bob") + "EMAIL\nx\n");
  EXPECT_EQ(text_at(out.settings, field::kMaker), "Bob");
  EXPECT_EQ(text_at(out.settings, field::kEmail), "");
  EXPECT_EQ(out.warnings, kNoWarnings);
}

TEST(ConfigLines, WindowsLineEndsReadLikeLineFeeds) {
  std::string text = test::complete_config({{"MAKER", "Bob"}}) + setting("SIGNTEXT2", "a,b");
  std::string windows;
  for (char c : text) windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const ReadOutcome unix_like = read_config(text);
  const ReadOutcome out = read_config(windows);
  EXPECT_EQ(out.result, ConfigOutcome::kComplete);
  EXPECT_EQ(out.settings.bytes(), unix_like.settings.bytes());
  EXPECT_EQ(out.found, unix_like.found);
}

TEST(ConfigLines, LastValueLineWithoutLineFeedIsUsed) {
  const ReadOutcome out = read_config("/MAKER\nBob");
  EXPECT_EQ(text_at(out.settings, field::kMaker), "Bob");
  EXPECT_TRUE(out.found[kMakerIndex]);
}

TEST(ConfigLines, LastKeywordLineWithoutLineFeedIsNotLookedAt) {
  const ReadOutcome out = read_config(setting("EMAIL", "x") + "/BOGUS");
  EXPECT_EQ(out.warnings, kNoWarnings);
  EXPECT_EQ(read_config(test::complete_config({{"RANDOMSEED", ""}}) + "/RANDOMSEED").result,
            ConfigOutcome::kIncomplete);
}

TEST(ConfigLines, KeywordLineAtTheEndWithLineFeedHasNoValue) {
  const ReadOutcome out =
      read_config(test::complete_config({{"RANDOMSEED", ""}}) + "/RANDOMSEED\n");
  EXPECT_EQ(out.result, ConfigOutcome::kIncomplete);
  EXPECT_FALSE(out.found[19]);
}

TEST(ConfigLines, LongLineKeepsItsStartAndDropsTheRestAsPartOfTheSameLine) {
  // A keyword hidden past the kept characters must not become a line of its own.
  const std::string comment(config_grammar::kMaxConfigLine, 'c');
  const ReadOutcome out = read_config(comment + "/EMAIL\nhidden\n" + setting("MAKER", "Bob"));
  EXPECT_EQ(text_at(out.settings, field::kEmail), "");
  EXPECT_FALSE(out.found[kEmailIndex]);
  EXPECT_EQ(text_at(out.settings, field::kMaker), "Bob");
  EXPECT_EQ(out.warnings, kNoWarnings);
}

TEST(ConfigLines, LongValueLineIsOneValue) {
  const ReadOutcome out = read_config("/EMAIL\n" + std::string(200, 'e') + "/MAKER\nBob\n");
  EXPECT_EQ(text_at(out.settings, field::kEmail), std::string(127, 'e'));
  EXPECT_EQ(text_at(out.settings, field::kMaker), "Anonymous");
  EXPECT_FALSE(out.found[kMakerIndex]);
}

TEST(ConfigLines, ByteOrderMarkAtTheStartIsSkipped) {
  const ReadOutcome out = read_config("\xEF\xBB\xBF/MAKER\nBob\n");
  EXPECT_EQ(text_at(out.settings, field::kMaker), "Bob");
  EXPECT_EQ(out.warnings, kNoWarnings);
}

TEST(ConfigLines, ByteOrderMarkElsewhereIsText) {
  const ReadOutcome out = read_config("; x\n\xEF\xBB\xBF/MAKER\nBob\n/EMAIL\n\xEF\xBB\xBFme\n");
  EXPECT_EQ(text_at(out.settings, field::kMaker), "Anonymous");
  EXPECT_EQ(text_at(out.settings, field::kEmail), "\xEF\xBB\xBFme");
}

// --- Values ---

TEST(ConfigValues, NumbersGoToTheirFieldsAsLowBytes) {
  const struct {
    const char* keyword;
    const char* value;
    std::size_t offset;
    std::uint8_t stored;
  } cases[] = {
      {"GRAVITY", "95", field::kGravity, 9},
      {"GRAVITY", "-5", field::kGravity, 0},
      {"GRAVITY", "-15", field::kGravity, 255},
      {"GRAVITY", "2570", field::kGravity, 1},
      {"GRAVITY", "99999999999", field::kGravity, 0xCC},  // 2147483647 / 10
      {"RESISTANCE", "1009", field::kResistance, 100},
      {"COLLDAMAGE", "-2559", field::kCollDamage, 1},
      {"BOUNCING", "x", field::kBouncing, 0},
      {"CIVIL", "300", field::kCivil, 44},
      {"CIVIL", "abc", field::kCivil, 0},
      {"CIVIL", " \t+12x", field::kCivil, 12},
      {"CIVIL", "-1", field::kCivil, 255},
      {"CIVIL", "+-3", field::kCivil, 0},
      {"CIVIL", "4294967301", field::kCivil, 0xFF},  // saturated, not wrapped to 5
      {"CIVIL", "2147483648", field::kCivil, 0xFF},
      {"CIVIL", "-2147483649", field::kCivil, 0x00},
      {"CIVIL", "-99999999999999999999999", field::kCivil, 0x00},
      {"BOMB", "7", field::kBomb, 7},
      {"AMBIENT", "256", field::kAmbient, 0},
      {"PARALLAXAT", "3", field::kParallaxAt, 3},
      {"REPAIR", "1", field::kRepair, 1},
      {"STUFFD", "2", field::kStuffD, 2},
      {"SIGND", "3", field::kSignD, 3},
  };
  for (const auto& c : cases) {
    const ReadOutcome out = read_config(setting(c.keyword, c.value));
    EXPECT_EQ(out.settings.bytes()[c.offset], c.stored) << c.keyword << " " << c.value;
    LevelSettings expected;
    expected.at(c.offset)[0] = c.stored;
    EXPECT_EQ(out.settings.bytes(), expected.bytes())
        << c.keyword << " " << c.value << ": other bytes changed";
  }
}

TEST(ConfigValues, RandomSeedTakesTheWholeNumber) {
  const struct {
    const char* value;
    std::uint32_t stored;
  } cases[] = {
      {"1", 1},
      {"-2", 0xFFFFFFFE},
      {"305419896", 0x12345678},
      {"2147483647", 0x7FFFFFFF},
      {"2147483648", 0x7FFFFFFF},
      {"99999999999", 0x7FFFFFFF},
      {"-2147483648", 0x80000000},
      {"-99999999999", 0x80000000},
      {"seed", 0},
  };
  for (const auto& c : cases) {
    const ReadOutcome out = read_config(setting("RANDOMSEED", c.value));
    EXPECT_EQ(le32_at(out.settings, field::kRandomSeed), c.stored) << c.value;
    EXPECT_EQ(out.settings.bytes()[field::kSignD], 10) << c.value;
    EXPECT_EQ(le32_at(out.settings, field::kSignTable), 0u) << c.value;
  }
}

TEST(ConfigValues, YesNoLooksOnlyAtTheLeadingLetters) {
  const struct {
    const char* value;
    bool accepted;
    std::uint8_t stored;  // GGSHAPE defaults to 1
  } cases[] = {
      {"YES", true, 1},    {"yes", true, 1}, {"yEs please", true, 1}, {"Yesterday", true, 1},
      {"NO", true, 0},     {"no", true, 0},  {"none", true, 0},       {"nope", true, 0},
      {"No way", true, 0}, {"Y", false, 1},  {"YE", false, 1},        {"N", false, 1},
      {"1", false, 1},     {"0", false, 1},  {"true", false, 1},      {" yes", false, 1},
      {"ON", false, 1},
  };
  for (const auto& c : cases) {
    const ReadOutcome out = read_config(setting("GGSHAPE", c.value));
    EXPECT_EQ(out.found[kGgShapeIndex], c.accepted) << c.value;
    EXPECT_EQ(out.settings.bytes()[field::kGgShape], c.stored) << c.value;
  }
}

TEST(ConfigValues, EveryYesNoKeywordHasItsOwnField) {
  const struct {
    const char* keyword;
    std::size_t offset;
  } cases[] = {{"PARA", field::kPara},
               {"DISABLERUN", field::kDisableRun},
               {"GGLEVEL", field::kGgLevel},
               {"GGSHAPE", field::kGgShape}};
  for (const auto& c : cases) {
    const ReadOutcome yes = read_config(setting(c.keyword, "yes"));
    LevelSettings expected;
    expected.at(c.offset)[0] = 1;
    EXPECT_EQ(yes.settings.bytes(), expected.bytes()) << c.keyword;
    const ReadOutcome rejected = read_config(setting(c.keyword, "true"));
    EXPECT_EQ(rejected.settings.bytes(), LevelSettings().bytes()) << c.keyword;
  }
  EXPECT_TRUE(read_config(setting("PARA", "yes")).settings.para());
  EXPECT_TRUE(read_config(setting("GGLEVEL", "YES")).settings.gg_level());
  EXPECT_FALSE(read_config(setting("PARA", "Y")).found[kParaIndex]);
}

TEST(ConfigValues, WaterColourNeedsTwoCommasAmongTheFirstHundredCharacters) {
  const struct {
    std::string value;
    bool accepted;
    std::uint8_t red, green, blue;
  } cases[] = {
      {"1,2,3", true, 1, 2, 3},
      {"1,2", false, 80, 90, 170},
      {"123", false, 80, 90, 170},
      {"1,2,3,4", true, 1, 2, 3},
      {",,", true, 0, 0, 0},
      {"300, -1 ,x", true, 44, 255, 0},
      {" 7 ,\t8,9z", true, 7, 8, 9},
      {std::string(98, ' ') + ",,5", true, 0, 0, 5},
      {std::string(99, ' ') + ",,5", false, 80, 90, 170},
  };
  for (const auto& c : cases) {
    const ReadOutcome out = read_config(setting("WATERC", c.value));
    const auto& b = out.settings.bytes();
    EXPECT_EQ(out.found[kWaterIndex], c.accepted) << "\"" << c.value << "\"";
    EXPECT_EQ(b[field::kWaterColour], c.red) << "\"" << c.value << "\"";
    EXPECT_EQ(b[field::kWaterColour + 1], c.green) << "\"" << c.value << "\"";
    EXPECT_EQ(b[field::kWaterColour + 2], c.blue) << "\"" << c.value << "\"";
    EXPECT_EQ(b[field::kDisableRun], 0) << "\"" << c.value << "\"";
  }
}

TEST(ConfigValues, TextIsTakenAsItStands) {
  const struct {
    const char* keyword;
    std::size_t offset;
  } fields[] = {{"MAKER", field::kMaker}, {"EMAIL", field::kEmail}, {"GGTHEME", field::kGgTheme}};
  for (const auto& f : fields) {
    const ReadOutcome out = read_config(setting(f.keyword, "  a, b / \"c\"  "));
    EXPECT_EQ(text_at(out.settings, f.offset), "  a, b / \"c\"  ") << f.keyword;
    EXPECT_EQ(out.warnings, kNoWarnings) << f.keyword;
  }
}

TEST(ConfigValues, TextOfTheFullFieldLengthFitsWithoutWarning) {
  const ReadOutcome out = read_config(setting("GGTHEME", std::string(127, 't')));
  EXPECT_EQ(text_at(out.settings, field::kGgTheme), std::string(127, 't'));
  EXPECT_EQ(out.settings.bytes()[field::kGgTheme + 127], 0);
  EXPECT_EQ(out.settings.bytes()[field::kGgShape], 1);
  EXPECT_EQ(out.warnings, kNoWarnings);
}

TEST(ConfigValues, LongerTextIsCutWithOneWarning) {
  const ReadOutcome out = read_config(setting("MAKER", std::string(150, 'm')) +
                                      setting("GGTHEME", std::string(140, 't')));
  EXPECT_EQ(text_at(out.settings, field::kMaker), std::string(127, 'm'));
  EXPECT_EQ(out.settings.bytes()[field::kEmail], 0);
  EXPECT_EQ(text_at(out.settings, field::kGgTheme), std::string(127, 't'));
  EXPECT_EQ(out.settings.bytes()[field::kGgShape], 1);
  EXPECT_TRUE(out.found[kMakerIndex]);
  EXPECT_EQ(out.warnings, std::vector<std::string>{std::string(warning::kTooLongText)});
}

// --- Signs ---

TEST(ConfigSigns, SignTextFillsTheNextSlotWithAnEmptySecondText) {
  const ReadOutcome out = read_config(setting("SIGNTEXT1", "Welcome, pilot") +
                                      setting("SIGNTEXT2", "Danger,Mines ahead") +
                                      setting("SIGNTEXT2", "no comma here") +
                                      setting("SIGNTEXT2", "a,b,c") + setting("SIGNTEXT2", ","));
  ASSERT_EQ(out.settings.sign_count(), 4u);
  EXPECT_EQ(le32_at(out.settings, field::kSignCount), 4u);
  EXPECT_EQ(sign_first(out.settings, 0), "Welcome, pilot");
  EXPECT_EQ(sign_second(out.settings, 0), "");
  EXPECT_EQ(sign_first(out.settings, 1), "Danger");
  EXPECT_EQ(sign_second(out.settings, 1), "Mines ahead");
  EXPECT_EQ(sign_first(out.settings, 2), "a");
  EXPECT_EQ(sign_second(out.settings, 2), "b,c");
  EXPECT_EQ(sign_first(out.settings, 3), "");
  EXPECT_EQ(sign_second(out.settings, 3), "");
  EXPECT_TRUE(out.found[20]);
  EXPECT_TRUE(out.found[21]);
  EXPECT_EQ(out.warnings, kNoWarnings);
}

TEST(ConfigSigns, SignPairCommaMustLieAmongTheFirstHundredCharacters) {
  EXPECT_EQ(read_config(setting("SIGNTEXT2", std::string(99, ' ') + ",x")).settings.sign_count(),
            1u);
  EXPECT_EQ(read_config(setting("SIGNTEXT2", std::string(100, ' ') + ",x")).settings.sign_count(),
            0u);
}

TEST(ConfigSigns, HalvesOfFifteenCharactersFitAndLongerOnesAreCut) {
  const std::string fifteen(15, 'f');
  const ReadOutcome fits = read_config(setting("SIGNTEXT2", fifteen + "," + fifteen));
  EXPECT_EQ(sign_first(fits.settings, 0), fifteen);
  EXPECT_EQ(sign_second(fits.settings, 0), fifteen);
  EXPECT_EQ(fits.warnings, kNoWarnings);

  const ReadOutcome cut =
      read_config(setting("SIGNTEXT2", std::string(20, 'a') + "," + std::string(30, 'b')) +
                  setting("SIGNTEXT1", std::string(40, 'c')));
  ASSERT_EQ(cut.settings.sign_count(), 2u);
  EXPECT_EQ(sign_first(cut.settings, 0), std::string(15, 'a'));
  EXPECT_EQ(sign_second(cut.settings, 0), std::string(15, 'b'));
  EXPECT_EQ(sign_first(cut.settings, 1), std::string(15, 'c'));
  EXPECT_EQ(sign_second(cut.settings, 1), "");
  EXPECT_EQ(cut.settings.bytes()[field::kSignTable + 15], 0);
  EXPECT_EQ(cut.settings.bytes()[field::kSignTable + 31], 0);
  EXPECT_EQ(cut.settings.bytes()[field::kSignTable + 2 * field::kSignSlotSize], 0);
  EXPECT_EQ(cut.warnings, std::vector<std::string>{std::string(warning::kTooLongText)});
}

TEST(ConfigSigns, SeventeenthSignUsesNoSlotAndWarnsOnce) {
  std::string text;
  for (int i = 0; i < 19; ++i) {
    std::string sign = "s";
    sign.append(std::to_string(i)).append(",t");
    text += setting("SIGNTEXT2", sign);
  }
  const ReadOutcome out = read_config(text + setting("MAKER", "Bob"));
  EXPECT_EQ(le32_at(out.settings, field::kSignCount), 16u);
  EXPECT_EQ(sign_first(out.settings, 15), "s15");
  EXPECT_EQ(text_at(out.settings, field::kMaker), "Bob");
  EXPECT_EQ(out.warnings, std::vector<std::string>{std::string(warning::kTooManySigns)});
}

TEST(ConfigWarnings, KeepTheOrderInWhichTheyArise) {
  std::string signs;
  for (int i = 0; i < 17; ++i) signs += setting("SIGNTEXT1", "s");
  const std::string unknown = "/COLOUR\n";
  const std::string long_text = setting("MAKER", std::string(130, 'm'));
  const std::vector<std::string> unknown_cut_signs = {std::string(warning::kUnknownParameters),
                                                      std::string(warning::kTooLongText),
                                                      std::string(warning::kTooManySigns)};
  EXPECT_EQ(read_config(unknown + long_text + signs + unknown + long_text).warnings,
            unknown_cut_signs);
  const std::vector<std::string> signs_cut_unknown = {std::string(warning::kTooManySigns),
                                                      std::string(warning::kTooLongText),
                                                      std::string(warning::kUnknownParameters)};
  EXPECT_EQ(read_config(signs + long_text + unknown + signs).warnings, signs_cut_unknown);
}

}  // namespace
}  // namespace zur
