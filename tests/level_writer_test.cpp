// SPDX-License-Identifier: MIT
#include "engine/level/level_writer.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/level/batch.h"
#include "tests/support/faulty_system.h"
#include "tests/support/level_bytes.h"
#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"

namespace zur {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kRecordOffset = 34;
constexpr const char* kSuccessReportStart = "Conversion succesfully completed for level:";

using test::le32;

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t count) {
  if (from + count > bytes.size()) {
    ADD_FAILURE() << "level file of " << bytes.size() << " bytes has no bytes " << from << " to "
                  << from + count;
    return {};
  }
  return {bytes.begin() + static_cast<std::ptrdiff_t>(from),
          bytes.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

Bytes to_bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

// A picture stand-in holding every byte value, line ends and end-of-file
// marks included, so that any translation while copying shows.
Bytes every_byte_picture(std::size_t length) {
  Bytes picture(length);
  for (std::size_t i = 0; i < length; ++i) {
    picture[i] = static_cast<std::uint8_t>((i * 7 + i / 256) & 0xFF);
  }
  return picture;
}

const test::TgaBuilder kMap(6, 3);

bool report_shown(const test::ScriptedPrompts& prompts) {
  for (const test::Prompt& p : prompts.prompts) {
    if (p.text.rfind(kSuccessReportStart, 0) == 0) return true;
  }
  return false;
}

ConversionResult convert(const std::string& prefix, test::ScriptedPrompts& prompts,
                         platform::System& system = platform::default_system()) {
  Converter converter(prompts, system);
  return converter.run_job(prefix);
}

TEST(LevelFileHeader, SignatureOffsetsAndRecord) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap, test::complete_config({{"MAKER", "Header Maker"}}));
  const Bytes picture = every_byte_picture(1000);
  dir.write("lvl.JPG", picture);
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  ASSERT_EQ(converter.run_job(dir.prefix("lvl")), ConversionResult::kSuccess);

  const Bytes level = dir.read("lvl.lev");
  EXPECT_EQ(slice(level, 0, 22), to_bytes("ZUR level file v1.4\x0D\x0A\x1A"));
  EXPECT_EQ(le32(level, 22), 958u);
  EXPECT_EQ(le32(level, 26), 958u + 1000);
  EXPECT_EQ(le32(level, 30), 958u + 1000);
  const auto& record = converter.last().settings.bytes();
  EXPECT_EQ(slice(level, kRecordOffset, record.size()), Bytes(record.begin(), record.end()));
  EXPECT_EQ(slice(level, kRecordOffset, 13), to_bytes(std::string("Header Maker") + '\0'));
  EXPECT_EQ(slice(level, 958, picture.size()), picture);
  EXPECT_GT(level.size(), 958u + 1000);
}

TEST(LevelFileHeader, SettingsNotGivenAreWrittenWithTheirDefaults) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap, test::complete_config({{"MAKER", ""}, {"GRAVITY", ""}}));
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  ASSERT_EQ(converter.run_job(dir.prefix("lvl")), ConversionResult::kSuccess);
  const Bytes level = dir.read("lvl.lev");
  EXPECT_EQ(slice(level, kRecordOffset, 10), to_bytes(std::string("Anonymous") + '\0'));
  EXPECT_EQ(level.at(kRecordOffset + field::kGravity), 100);
  EXPECT_EQ(converter.last().warnings.texts(),
            std::vector<std::string>{std::string(warning::kMissingParameters)});
}

TEST(LevelPictures, LargePicturesAreCopiedExactly) {
  // Larger than any one buffer the writer might use, and not a multiple of one.
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap, test::complete_config({{"PARA", "yes"}}));
  const Bytes picture = every_byte_picture((std::size_t{5} << 19) + 3);
  const Bytes parallax = every_byte_picture((std::size_t{3} << 19) + 1);
  dir.write("lvl.JPG", picture);
  dir.write("lvlP.JPG", parallax);
  test::ScriptedPrompts prompts;
  ASSERT_EQ(convert(dir.prefix("lvl"), prompts), ConversionResult::kSuccess);
  const Bytes level = dir.read("lvl.lev");
  EXPECT_EQ(le32(level, 26), 958 + picture.size());
  EXPECT_EQ(le32(level, 30), 958 + picture.size() + parallax.size());
  EXPECT_TRUE(slice(level, 958, picture.size()) == picture);
  EXPECT_TRUE(slice(level, 958 + picture.size(), parallax.size()) == parallax);
}

TEST(LevelPictures, ParallaxFollowsTheLevelPicture) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap, test::complete_config({{"PARA", "yes"}}));
  dir.write("lvl.JPG", std::string("LEVEL"));
  dir.write("lvlP.JPG", std::string("PARALLAX\r\n"));
  test::ScriptedPrompts prompts;
  ASSERT_EQ(convert(dir.prefix("lvl"), prompts), ConversionResult::kSuccess);
  const Bytes level = dir.read("lvl.lev");
  EXPECT_EQ(le32(level, 26), 963u);
  EXPECT_EQ(le32(level, 30), 973u);
  EXPECT_EQ(slice(level, 958, 15), to_bytes("LEVELPARALLAX\r\n"));
  EXPECT_EQ(level.at(kRecordOffset + field::kPara), 1);
}

TEST(LevelPictures, ParallaxIsLeftOutWithoutParaEvenWhenItExists) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap);
  dir.write("lvl.JPG", std::string("LEVEL"));
  dir.write("lvlP.JPG", std::string("PARALLAX"));
  test::ScriptedPrompts with_parallax_file;
  ASSERT_EQ(convert(dir.prefix("lvl"), with_parallax_file), ConversionResult::kSuccess);
  const Bytes level = dir.read("lvl.lev");
  EXPECT_EQ(le32(level, 26), 963u);
  EXPECT_EQ(le32(level, 30), 963u);

  std::filesystem::remove(dir.path() / "lvlP.JPG");
  test::ScriptedPrompts without_parallax_file;
  ASSERT_EQ(convert(dir.prefix("lvl"), without_parallax_file), ConversionResult::kSuccess);
  EXPECT_EQ(dir.read("lvl.lev"), level);
}

TEST(LevelPictures, EmptyLevelImageGivesAnEmptySection) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap);
  dir.write("lvl.JPG", std::string());
  test::ScriptedPrompts prompts;
  ASSERT_EQ(convert(dir.prefix("lvl"), prompts), ConversionResult::kSuccess);
  const Bytes level = dir.read("lvl.lev");
  EXPECT_EQ(le32(level, 22), 958u);
  EXPECT_EQ(le32(level, 26), 958u);
  EXPECT_EQ(le32(level, 30), 958u);
}

TEST(LevelPictures, MissingPicturesFailWithTheirResults) {
  const struct {
    const char* name;
    const char* para;
    bool level_image, parallax_image;  // present
    ConversionResult result;
    const char* missing;
  } cases[] = {
      {"no level image", "no", false, true, ConversionResult::kLevelJpegMissing, ".jpg"},
      {"no parallax image", "yes", true, false, ConversionResult::kParallaxJpegMissing, "p.jpg"},
      {"neither, level image first", "yes", false, false, ConversionResult::kLevelJpegMissing,
       ".jpg"},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    test::write_level(dir, "lvl", kMap, test::complete_config({{"PARA", c.para}}));
    if (!c.level_image) std::filesystem::remove(dir.path() / "lvl.JPG");
    if (c.parallax_image) dir.write("lvlP.JPG", std::string("P"));
    test::ScriptedPrompts prompts;
    EXPECT_EQ(convert(dir.prefix("lvl"), prompts), c.result) << c.name;
    EXPECT_FALSE(dir.exists("lvl.lev")) << c.name;
    ASSERT_EQ(prompts.messages().size(), 1u) << c.name;
    EXPECT_EQ(prompts.messages()[0].substr(prompts.messages()[0].find("\n\nFile missing:\n")),
              "\n\nFile missing:\n" + dir.prefix("lvl") + c.missing)
        << c.name;
  }
}

TEST(LevelPictures, PictureThatIsADirectoryIsNotFound) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap);
  std::filesystem::remove(dir.path() / "lvl.JPG");
  std::filesystem::create_directory(dir.path() / "lvl.JPG");
  test::ScriptedPrompts prompts;
  EXPECT_EQ(convert(dir.prefix("lvl"), prompts), ConversionResult::kLevelJpegMissing);
  EXPECT_FALSE(dir.exists("lvl.lev"));
}

TEST(LevelPicturesDeathTest, NamedPipeIsNotFoundAndNotWaitedFor) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows' named pipes have no name in a folder";
#else
  const struct {
    const char* source;
    ConversionResult result;
  } cases[] = {
      {"lvl.TXT", ConversionResult::kConfigFileMissing},
      {"lvl.JPG", ConversionResult::kLevelJpegMissing},
      {"lvl.TGA", ConversionResult::kAttributeMapMissing},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    test::write_level(dir, "lvl", kMap);
    std::filesystem::remove(dir.path() / c.source);
    ASSERT_EQ(::mkfifo((dir.path() / c.source).c_str(), 0600), 0) << c.source;
    const std::string prefix = dir.prefix("lvl");
    EXPECT_EXIT(
        {
          ::alarm(20);  // ends a conversion that waits for a writer to the pipe
          test::ScriptedPrompts prompts;
          Converter converter(prompts, platform::default_system());
          std::_Exit(code_of(converter.run_job(prefix)));
        },
        ::testing::ExitedWithCode(code_of(c.result)), "")
        << c.source;
  }
#endif
}

// --- Levels without a level image ---

TEST(GeneratedLevel, SectionHoldsTheMapSizeAndTheImageIsNeverOpened) {
  test::TempDir dir;
  test::write_level(dir, "lvl", test::TgaBuilder(300, 2),
                    test::complete_config({{"GGLEVEL", "yes"}}));
  // Opening this "image" would fail the conversion.
  std::filesystem::remove(dir.path() / "lvl.JPG");
  std::filesystem::create_directory(dir.path() / "lvl.JPG");
  test::ScriptedPrompts prompts;
  ASSERT_EQ(convert(dir.prefix("lvl"), prompts), ConversionResult::kSuccess);
  const Bytes level = dir.read("lvl.lev");
  EXPECT_EQ(le32(level, 22), 958u);
  EXPECT_EQ(le32(level, 26), 962u);
  EXPECT_EQ(le32(level, 30), 962u);
  EXPECT_EQ(slice(level, 958, 4), (Bytes{0x2C, 0x01, 0x02, 0x00}));
  EXPECT_EQ(level.at(kRecordOffset + field::kGgLevel), 1);
}

TEST(GeneratedLevel, ParallaxStillFollows) {
  test::TempDir dir;
  test::write_level(dir, "lvl", test::TgaBuilder(5, 7),
                    test::complete_config({{"GGLEVEL", "yes"}, {"PARA", "yes"}}));
  dir.write("lvlP.JPG", std::string("PP"));
  test::ScriptedPrompts prompts;
  ASSERT_EQ(convert(dir.prefix("lvl"), prompts), ConversionResult::kSuccess);
  const Bytes level = dir.read("lvl.lev");
  EXPECT_EQ(le32(level, 26), 962u);
  EXPECT_EQ(le32(level, 30), 964u);
  EXPECT_EQ(slice(level, 958, 6), (Bytes{5, 0, 7, 0, 'P', 'P'}));
}

TEST(GeneratedLevel, MissingOrTooShortAttributeMapFails) {
  const struct {
    const char* name;
    std::size_t map_bytes;  // 0: no map at all
    ConversionResult result;
  } cases[] = {
      {"no map", 0, ConversionResult::kAttributeMapMissing},
      {"one byte", 1, ConversionResult::kWrongTgaFormat},
      {"fifteen bytes", 15, ConversionResult::kWrongTgaFormat},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    test::write_level(dir, "lvl", kMap, test::complete_config({{"GGLEVEL", "yes"}}));
    std::filesystem::remove(dir.path() / "lvl.TGA");
    if (c.map_bytes > 0) {
      Bytes map = kMap.bytes();
      map.resize(c.map_bytes);
      dir.write("lvl.TGA", map);
    }
    test::ScriptedPrompts prompts;
    EXPECT_EQ(convert(dir.prefix("lvl"), prompts), c.result) << c.name;
    EXPECT_FALSE(dir.exists("lvl.lev")) << c.name;
  }
}

// --- The level file itself ---

TEST(LevelFileOutput, MissingOutputDirectoryFailsBeforeTheConfigIsRead) {
  test::TempDir dir;
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  const std::string prefix = dir.prefix("no such dir/lvl");
  EXPECT_EQ(converter.run_job(prefix), ConversionResult::kCannotAccessOutput);
  EXPECT_EQ(prompts.messages(), std::vector<std::string>{
                                    "Conversion failed.\n\nCould not access \n" + prefix + ".lev"});
  EXPECT_EQ(prompts.progress, std::vector<int>{0});
}

TEST(LevelFileOutput, MissingConfigLeavesNoLevelFile) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap);
  std::filesystem::remove(dir.path() / "lvl.TXT");
  test::ScriptedPrompts prompts;
  EXPECT_EQ(convert(dir.prefix("lvl"), prompts), ConversionResult::kConfigFileMissing);
  EXPECT_FALSE(dir.exists("lvl.lev"));
}

TEST(LevelFileOutput, DeviceAsLevelFileIsRefusedAndLeftAlone) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap);
#ifdef _WIN32
  // A device's name is the device in every folder, whatever its suffix.
  const std::string level_file = dir.prefix("NUL.lev");
#else
  const std::string level_file = dir.prefix("lvl.lev");
  std::filesystem::create_symlink("/dev/full", level_file);
#endif
  test::ScriptedPrompts prompts;
  prompts.info_answers = {true};
  Converter converter(prompts, platform::default_system());
  EXPECT_EQ(converter.run_job(dir.prefix("lvl"), level_file),
            ConversionResult::kCannotAccessOutput);
  EXPECT_FALSE(report_shown(prompts));
  EXPECT_EQ(prompts.messages().back(), "Conversion failed.\n\nCould not access \n" + level_file);
#ifndef _WIN32
  std::error_code ignored;
  EXPECT_TRUE(std::filesystem::is_symlink(level_file, ignored));
#endif
}

TEST(LevelFileOutput, UnopenableLevelFileIsLeftAlone) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap);
  std::error_code error;
  std::filesystem::create_symlink("/nonexistent-dir/x", dir.path() / "lvl.lev", error);
  if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();
  test::ScriptedPrompts prompts;
  EXPECT_EQ(convert(dir.prefix("lvl"), prompts), ConversionResult::kCannotAccessOutput);
  std::error_code ignored;
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "lvl.lev", ignored));
}

// A level file the system refuses to let this program write (read-only, or
// in a folder that takes no new file) gives "No access" and is kept.
TEST(LevelFileOutput, AccessDeniedGivesNoAccessAndKeepsTheFile) {
  for (const bool folder_refused : {false, true}) {
    test::TempDir dir;
    test::write_level(dir, "lvl", kMap);
    dir.write("lvl.lev", std::string("old level"));
    test::FaultySystem system;
    const std::error_code denied = std::make_error_code(std::errc::permission_denied);
    (folder_refused ? system.create_error : system.may_write_error) = denied;
    test::ScriptedPrompts prompts;
    EXPECT_EQ(convert(dir.prefix("lvl"), prompts, system), ConversionResult::kNoAccessToOutput);
    EXPECT_EQ(prompts.messages(),
              std::vector<std::string>{"Conversion failed.\nNo access to output file."});
    EXPECT_EQ(dir.read("lvl.lev"), to_bytes("old level")) << folder_refused;
  }
}

TEST(LevelFileOutput, ExistingLevelFileIsReplaced) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap);
  dir.write("lvl.lev", std::string(5000, 'x'));
  test::ScriptedPrompts prompts;
  ASSERT_EQ(convert(dir.prefix("lvl"), prompts), ConversionResult::kSuccess);
  const Bytes level = dir.read("lvl.lev");
  EXPECT_LT(level.size(), 5000u);
  EXPECT_EQ(slice(level, 0, 3), to_bytes("ZUR"));
}

TEST(LevelFileOutput, SourcesAreFoundWhateverTheLetterCase) {
  test::TempDir dir;
  dir.write("jungle.txt", test::complete_config({{"PARA", "yes"}}));
  dir.write("JUNGLE.jpg", std::string("L"));
  dir.write("junglep.jpg", std::string("P"));
  kMap.save(dir.path() / "Jungle.Tga");
  test::ScriptedPrompts prompts;
  ASSERT_EQ(convert(dir.prefix("jungle"), prompts), ConversionResult::kSuccess);
  const Bytes level = dir.read("jungle.lev");
  EXPECT_EQ(slice(level, 958, 2), to_bytes("LP"));
  EXPECT_TRUE(dir.holds("jungle.lev"));
  EXPECT_FALSE(dir.holds("jungle.LEV"));
}

TEST(LevelFileOutput, LevelFileIsNamedByThePrefixAsGiven) {
  test::TempDir dir;
  test::write_level(dir, "Lvl", kMap);
  test::ScriptedPrompts prompts;
  ASSERT_EQ(convert(dir.prefix("lvl"), prompts), ConversionResult::kSuccess);
  EXPECT_TRUE(dir.holds("lvl.lev"));
  EXPECT_FALSE(dir.holds("Lvl.lev"));
}

TEST(LevelFileOutput, FailedWriteRemovesOnlyALevelFileItOpened) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap);
  std::filesystem::remove(dir.path() / "lvl.TXT");
  dir.write("lvl.lev", std::string("old level"));
  test::ScriptedPrompts prompts;
  Conversion conversion(prompts, platform::default_system(), [] { return 0u; });
  conversion.prefix = dir.prefix("lvl");
  conversion.level_file = dir.prefix("lvl.lev");
  EXPECT_EQ(write_level_file(conversion), ConversionResult::kConfigFileMissing);
  EXPECT_FALSE(dir.exists("lvl.lev"));

  // A level file that cannot be opened (here: a folder) is left alone.
  std::filesystem::create_directory(dir.path() / "lvl.lev");
  EXPECT_EQ(write_level_file(conversion), ConversionResult::kCannotAccessOutput);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "lvl.lev"));
}

TEST(LevelFileOutput, UnopenableLevelFileLeavesTheRecordAsItWas) {
  test::ScriptedPrompts prompts;
  Conversion conversion(prompts, platform::default_system(), [] { return 0u; });
  conversion.settings.at(field::kCivil)[0] = 77;
  conversion.found[3] = true;
  conversion.warnings.append("left over");
  conversion.prefix = "/nonexistent-dir/lvl";
  conversion.level_file = "/nonexistent-dir/lvl.lev";
  EXPECT_EQ(write_level_file(conversion), ConversionResult::kCannotAccessOutput);
  EXPECT_EQ(conversion.settings.bytes()[field::kCivil], 77);
  EXPECT_TRUE(conversion.found[3]);
  EXPECT_EQ(conversion.warnings.count(), 0u);
}

// --- Where the level file goes, and what it was made from ---

TEST(LevelFileOutput, SourcesReadAreListedConfigMapPicturesAsFound) {
  const struct {
    const char* name;
    std::string config;
    std::vector<std::string> read;
  } cases[] = {
      {"plain", test::complete_config(), {"lvl.TXT", "lvl.TGA", "lvl.JPG"}},
      {"parallax",
       test::complete_config({{"PARA", "yes"}}),
       {"lvl.TXT", "lvl.TGA", "lvl.JPG", "Lvlp.jpg"}},
      {"no level picture", test::complete_config({{"GGLEVEL", "yes"}}), {"lvl.TXT", "lvl.TGA"}},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    test::write_level(dir, "lvl", kMap, c.config);
    dir.write("Lvlp.jpg", std::string("PARALLAX"));
    test::ScriptedPrompts prompts;
    Converter converter(prompts, platform::default_system());
    ASSERT_EQ(converter.run_job(dir.prefix("lvl")), ConversionResult::kSuccess) << c.name;
    std::vector<std::string> expected;
    for (const std::string& name : c.read) expected.push_back(dir.prefix(name));
    EXPECT_EQ(converter.last().sources_read, expected) << c.name;
  }
}

TEST(LevelFileOutput, GivenLevelFileIsWrittenAndNamedInsteadOfThePrefixs) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap);
  std::filesystem::create_directory(dir.path() / "out");
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  ASSERT_EQ(converter.run_job(dir.prefix("lvl"), dir.prefix("out/x.lev")),
            ConversionResult::kSuccess);
  EXPECT_TRUE(dir.exists("out/x.lev"));
  EXPECT_FALSE(dir.exists("lvl.lev"));
  EXPECT_NE(prompts.prompts.at(0).text.find("\n" + dir.prefix("out/x.lev") + "\n"),
            std::string::npos);

  std::filesystem::remove(dir.path() / "lvl.TGA");
  EXPECT_EQ(converter.run_job(dir.prefix("lvl"), dir.prefix("out/x.lev")),
            ConversionResult::kAttributeMapMissing);
  EXPECT_FALSE(dir.exists("out/x.lev"));
  EXPECT_EQ(prompts.messages().back(),
            "Conversion failed.\nAttribute map TGA file not found.\n\nFile missing:\n" +
                dir.prefix("lvl") + ".tga");
}

// --- What one conversion leaves for the next ---

TEST(LevelFileOutput, OutputDoesNotDependOnTheConversionBefore) {
  test::TempDir dir;
  std::string busy = test::complete_config({{"MAKER", std::string(120, 'm')}});
  for (int i = 0; i < 5; ++i) busy += "/SIGNTEXT2\nsign number,second text\n";
  test::write_level(dir, "busy", kMap, busy);
  test::write_level(dir, "plain", kMap, test::complete_config({{"MAKER", "Al"}}));

  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  ASSERT_EQ(converter.run_job(dir.prefix("plain")), ConversionResult::kSuccess);
  const Bytes fresh = dir.read("plain.lev");
  ASSERT_EQ(converter.run_job(dir.prefix("busy")), ConversionResult::kSuccess);
  ASSERT_EQ(converter.run_job(dir.prefix("plain")), ConversionResult::kSuccess);
  EXPECT_EQ(dir.read("plain.lev"), fresh);
}

TEST(LevelFileOutput, WarningsStayReadableUntilTheNextJob) {
  test::TempDir dir;
  test::write_level(dir, "warned", kMap, "/COLOUR\nred\n" + test::complete_config({{"BOMB", ""}}));
  test::write_level(dir, "clean", kMap);
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  ASSERT_EQ(converter.run_job(dir.prefix("warned")), ConversionResult::kSuccess);
  EXPECT_EQ(converter.last().warnings.texts(),
            (std::vector<std::string>{std::string(warning::kUnknownParameters),
                                      std::string(warning::kMissingParameters)}));
  EXPECT_FALSE(converter.last().found[4]);
  ASSERT_EQ(converter.run_job(dir.prefix("clean")), ConversionResult::kSuccess);
  EXPECT_TRUE(converter.last().warnings.texts().empty());

  ASSERT_EQ(converter.run_job(dir.prefix("warned")), ConversionResult::kSuccess);
  EXPECT_EQ(converter.run_job(dir.prefix("no such dir/x")), ConversionResult::kCannotAccessOutput);
  EXPECT_TRUE(converter.last().warnings.texts().empty());
}

TEST(LevelFileOutput, RepeatedKeywordWarnsThroughTheWriter) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap, test::complete_config() + "/CIVIL\n3\n");
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  ASSERT_EQ(converter.run_job(dir.prefix("lvl")), ConversionResult::kSuccess);
  EXPECT_EQ(converter.last().warnings.texts(),
            std::vector<std::string>{std::string(warning::kMissingParameters)});
  EXPECT_EQ(dir.read("lvl.lev").at(kRecordOffset + field::kCivil), 3);
}

}  // namespace
}  // namespace zur
