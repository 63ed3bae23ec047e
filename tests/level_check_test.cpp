// SPDX-License-Identifier: MIT
// The level check's messages about the attribute map and the sources it
// cannot find, read through the engine's entry.
#include "engine/level/level_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string_view>

#include "engine/level/batch.h"
#include "tests/support/faulty_system.h"
#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"

namespace zur {
namespace {

using test::TgaBuilder;

std::string messages(const LevelCheck& check) {
  std::string text;
  for (const Problem& problem : check.problems) text += problem.message + "\n";
  return text;
}

TgaBuilder distinct_illegal_colours(int count) {
  TgaBuilder map(count, 1);
  for (int i = 0; i < count; ++i) {
    map.set(i, 0, {static_cast<std::uint8_t>(i % 256), static_cast<std::uint8_t>(i / 256), 7});
  }
  return map;
}

TgaBuilder separate_markers(int count) {
  TgaBuilder map(100, 50);
  for (int i = 0; i < count; ++i) map.set(i % 50 * 2, i / 50 * 2, {3, 0, 230});
  return map;
}

TEST(LevelCheck, CountsOfOneTakeTheSingular) {
  const struct {
    const char* what;
    std::function<TgaBuilder()> map;
    const char* message;
  } cases[] = {
      {"image-ID field", [] { return TgaBuilder(4, 4).id_length(1); },
       "image-ID field of 1 byte before the pixels"},
      {"colour map", [] { return TgaBuilder(4, 4).colour_map(1, 24); },
       "colour map of 1 entry of 24 bits"},
      {"illegal pixel",
       [] {
         return TgaBuilder(4, 4).set(1, 1, {1, 2, 3});
       },
       "illegal colour (1, 2, 3) in 1 pixel, first at x=1 y=1"},
      {"colour not listed", [] { return distinct_illegal_colours(1001); },
       "and 1 more illegal colour, not listed (1001 illegal pixels in all)"},
      {"colours not listed", [] { return distinct_illegal_colours(1002); },
       "and 2 more illegal colours, not listed (1002 illegal pixels in all)"},
      {"marker dropped", [] { return separate_markers(1025); },
       "1 marker past the 1024-object limit is dropped, the first at x=48 y=40"},
      {"markers dropped", [] { return separate_markers(1026); },
       "2 markers past the 1024-object limit are dropped, the first at x=48 y=40"},
      {"marker block",
       [] {
         return TgaBuilder(4, 4).set(1, 1, {3, 0, 230}).set(2, 1, {3, 0, 230});
       },
       "1 block of touching same-kind markers, each pixel an object; the first at x=1 y=1"},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    test::write_level(dir, "level", c.map());
    const LevelCheck check = check_level(dir.prefix("level"), false, platform::default_system());
    EXPECT_NE(messages(check).find(c.message), std::string::npos) << c.what << "\n"
                                                                  << messages(check);
  }
}

// The headers paint programs write when a save option is not the one a map
// needs: the message names the field, then what to choose when saving.
TEST(LevelCheck, TgaFormatNamesTheSaveOptionToChange) {
  const std::string kType = ", not 2 (uncompressed true-colour): the conversion fails";
  const std::string kBits = "not 24 bits per pixel: the conversion fails";
  const std::string kDescriptor =
      ", neither 0 (bottom row first) nor 32 (top row first): the conversion fails";
  const struct {
    const char* what;
    TgaBuilder map;
    std::string message;
  } cases[] = {
      {"RLE", TgaBuilder(4, 4).image_type(10),
       "image type 10" + kType + "; RLE-compressed; save it without RLE compression"},
      {"RLE, 32 bits", TgaBuilder(4, 4).image_type(10).bits_per_pixel(32),
       "image type 10" + kType + "; RLE-compressed; save it without RLE compression"},
      {"colour-mapped", TgaBuilder(4, 4).image_type(1).bits_per_pixel(8),
       "image type 1" + kType + "; colour-mapped; save it as true colour"},
      {"colour-mapped, RLE", TgaBuilder(4, 4).image_type(9).bits_per_pixel(8),
       "image type 9" + kType +
           "; colour-mapped and RLE-compressed; save it as true colour without RLE compression"},
      {"grey", TgaBuilder(4, 4).image_type(3).bits_per_pixel(8),
       "image type 3" + kType + "; grey; save it as true colour"},
      {"grey, RLE", TgaBuilder(4, 4).image_type(11).bits_per_pixel(8),
       "image type 11" + kType +
           "; grey and RLE-compressed; save it as true colour without RLE compression"},
      {"unknown type", TgaBuilder(4, 4).image_type(32), "image type 32" + kType},
      {"32 bits", TgaBuilder(4, 4).bits_per_pixel(32).descriptor(8),
       kBits + "; 32 bits with alpha; save it as 24 bits without alpha"},
      {"16 bits", TgaBuilder(4, 4).bits_per_pixel(16).descriptor(1),
       kBits + "; 16 bits; save it as 24 bits without alpha"},
      {"8 bits", TgaBuilder(4, 4).bits_per_pixel(8), kBits},
      {"right to left", TgaBuilder(4, 4).descriptor(16),
       "image descriptor 16" + kDescriptor +
           "; rows right to left; save it with rows left to right"},
      {"right to left, top first", TgaBuilder(4, 4).descriptor(48),
       "image descriptor 48" + kDescriptor +
           "; rows right to left; save it with rows left to right"},
      {"alpha bits", TgaBuilder(4, 4).descriptor(8), "image descriptor 8" + kDescriptor},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    test::write_level(dir, "level", c.map);
    const LevelCheck check = check_level(dir.prefix("level"), false, platform::default_system());
    const auto format =
        std::find_if(check.problems.begin(), check.problems.end(),
                     [](const Problem& p) { return p.code == ProblemCode::kTgaFormat; });
    ASSERT_NE(format, check.problems.end()) << c.what << "\n" << messages(check);
    EXPECT_EQ(format->message, c.message) << c.what;
  }
}

// The name after "File missing:" in the conversion's message.
std::string conversion_names_missing(const std::string& prefix) {
  test::ScriptedPrompts prompts;
  Converter(prompts, platform::default_system(), [] { return 0u; }).run_job(prefix);
  constexpr std::string_view kNamed = "File missing:\n";
  for (const std::string& message : prompts.messages()) {
    const std::size_t at = message.find(kNamed);
    if (at != std::string::npos) return message.substr(at + kNamed.size());
  }
  return "(no file named missing)";
}

TEST(LevelCheck, NamesAMissingSourceAsTheConversionDoes) {
  const struct {
    const char* missing;
    const char* suffix;  // as the conversion names it
    std::string config;
  } cases[] = {
      {"config file", ".txt", ""},
      {"attribute map", ".tga", test::complete_config()},
      {"level picture", ".jpg", test::complete_config()},
      {"parallax picture", "p.jpg", test::complete_config({{"PARA", "yes"}})},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    if (!c.config.empty()) dir.write("level.TXT", c.config);
    if (std::string(c.missing) != "attribute map") TgaBuilder(4, 4).save(dir.path() / "level.TGA");
    if (std::string(c.missing) != "level picture") dir.write("level.JPG", std::string("\xFF\xD8"));
    const std::string prefix = dir.prefix("level");
    const LevelCheck check = check_level(prefix, false, platform::default_system());
    std::string named = "(not reported)";
    for (const Problem& problem : check.problems) {
      if (problem.code == ProblemCode::kSourceMissing && problem.message.starts_with(c.missing)) {
        named = problem.file;
      }
    }
    EXPECT_EQ(named, conversion_names_missing(prefix)) << c.missing;
    EXPECT_EQ(named, prefix + c.suffix) << c.missing;
  }
}

// A source two names could be fails the check as it fails the conversion,
// with every candidate named.
TEST(LevelCheck, NamesEveryCandidateOfAnAmbiguousSourceAsTheConversionDoes) {
  const struct {
    const char* role;
    const char* formed;  // replaced by the two names below
    const char* lower;
    const char* upper;
  } cases[] = {
      {"config file", "level.TXT", "level.txt", "LEVEL.txt"},
      {"attribute map", "level.TGA", "level.tga", "LEVEL.tga"},
      {"level picture", "level.JPG", "level.jpg", "Level.jpg"},
      {"parallax picture", "levelP.JPG", "levelp.jpg", "levelP.jpg"},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    dir.write("level.TXT", test::complete_config({{"PARA", "yes"}}));
    TgaBuilder(4, 4).save(dir.path() / "level.TGA");
    dir.write("level.JPG", std::string("\xFF\xD8"));
    dir.write("levelP.JPG", std::string("\xFF\xD8"));
    const std::vector<std::uint8_t> contents = dir.read(c.formed);
    std::filesystem::remove(dir.prefix(c.formed));
    dir.write(c.lower, contents);
    dir.write(c.upper, contents);
    if (!dir.holds(c.lower) || !dir.holds(c.upper)) GTEST_SKIP() << "letter case is not kept";
    test::ScriptedPrompts prompts;
    Converter(prompts, platform::default_system(), [] { return 0u; }).run_job(dir.prefix("level"));
    ASSERT_EQ(prompts.prompts.size(), 1u) << c.role;
    ASSERT_EQ(prompts.prompts[0].reasons.size(), 1u) << c.role;
    const std::string& reason = prompts.prompts[0].reasons[0];
    EXPECT_NE(reason.find(dir.prefix(c.lower)), std::string::npos) << reason;
    EXPECT_NE(reason.find(dir.prefix(c.upper)), std::string::npos) << reason;
    const LevelCheck check = check_level(dir.prefix("level"), false, platform::default_system());
    EXPECT_TRUE(has_failure(check, false)) << c.role;
    EXPECT_NE(messages(check).find(std::string(c.role) + " ambiguous: " + reason),
              std::string::npos)
        << c.role << "\n"
        << messages(check);
  }
}

// Every source is read through the system the check is given.
TEST(LevelCheck, ReadsTheSourcesThroughTheSystemItIsGiven) {
  const auto unreadable_sources = [](const LevelCheck& check) {
    return std::count_if(check.problems.begin(), check.problems.end(), [](const Problem& problem) {
      return problem.code == ProblemCode::kSourceMissing;
    });
  };
  test::TempDir dir;
  test::write_level(dir, "level", test::TgaBuilder(4, 4));
  EXPECT_EQ(unreadable_sources(check_level(dir.prefix("level"), false, platform::default_system())),
            0);
  test::FaultySystem unreadable;
  unreadable.fail_reads_at(0, std::make_error_code(std::errc::io_error));
  const LevelCheck check = check_level(dir.prefix("level"), false, unreadable);
  EXPECT_EQ(unreadable_sources(check), 3) << messages(check);  // config, map and level picture
}

}  // namespace
}  // namespace zur
