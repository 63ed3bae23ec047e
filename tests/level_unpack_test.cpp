// SPDX-License-Identifier: MIT
// The round trip: levels generated from random sources are converted,
// unpacked and converted again, and must come back byte for byte. Where a
// level file holds what no sources give, the reader names the field and the
// rebuilt level differs there only.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <random>
#include <set>

#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/palette.h"
#include "engine/conversion/level_format.h"
#include "engine/level/batch.h"
#include "engine/level/level_reader.h"
#include "engine/level/level_unpacker.h"
#include "tests/support/faulty_system.h"
#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"

namespace zur {
namespace {

using test::Colour;
using test::TempDir;
using test::TgaBuilder;
using Bytes = std::vector<std::uint8_t>;

// A JPEG that holds only what its frame header needs.
std::string frame_only_jpeg(int width, int height) {
  const std::string sof = {
      '\xFF',      '\xC0', 0, 11,   8, char(height >> 8), char(height), char(width >> 8),
      char(width), 1,      1, 0x11, 0};
  return "\xFF\xD8" + sof + "\xFF\xD9";
}

class SourceGenerator {
 public:
  explicit SourceGenerator(unsigned seed) : random_(seed) {}

  int below(int limit) { return std::uniform_int_distribution<int>(0, limit - 1)(random_); }
  bool chance(int percent) { return below(100) < percent; }

  // Printable bytes, commas, blanks, carriage returns, zero bytes and bytes
  // that are not UTF-8.
  std::string text(int max_length) {
    static const std::string kAlphabet("abcXYZ 019,;/*-\r\0\x80\xE9\xFF", 19);
    std::string text(static_cast<std::size_t>(below(max_length + 1)), ' ');
    for (char& c : text) c = kAlphabet[static_cast<std::size_t>(below(int(kAlphabet.size())))];
    return text;
  }

  std::string number(int limit) { return std::to_string(below(2 * limit + 1) - limit); }

  std::string config(bool gg_level, bool para) {
    std::string config = "generated\n";
    // Lines end in CR LF at times, which lets a value end in a CR.
    const auto set = [&](const std::string& keyword, const std::string& value) {
      const std::string end = chance(30) ? "\r\n" : "\n";
      if (!value.empty() && value != "\r") config += "/" + keyword + end + value + end;
    };
    const std::string yes_no[] = {"yes", "no", "YESSIR", "Nope", "maybe"};
    for (const Keyword& keyword : kKeywords) {
      const std::string name(keyword.name);
      if (name == "PARA") {
        set(name, para ? "yes" : "no");
      } else if (name == "GGLEVEL") {
        set(name, gg_level ? "Yes" : "no");
      } else if (keyword.kind == ValueKind::Text) {
        set(name, text(140));  // past the limit at times: cut
      } else if (keyword.kind == ValueKind::YesNo) {
        set(name, yes_no[below(5)]);
      } else if (keyword.kind == ValueKind::IntegerTriple) {
        set(name, number(300) + "," + number(300) + "," + number(300));
      } else if (name == "RANDOMSEED") {
        const std::int64_t seeds[] = {-2147483648LL, 2147483647LL, below(1 << 30) - (1 << 29)};
        set(name, std::to_string(seeds[below(3)]));
      } else if (keyword.kind != ValueKind::SignText && keyword.kind != ValueKind::SignPair) {
        set(name, number(keyword.kind == ValueKind::Tenths ? 3000 : 1000));
      }
    }
    for (int sign = below(18); sign > 0; --sign) {
      const std::string first = text(20), second = text(20);
      set(chance(50) ? "SIGNTEXT1" : "SIGNTEXT2", first + "," + second);
    }
    return config;
  }

  // Long runs of one colour across several blocks of rows, a few pixels of
  // other colours and markers in it.
  TgaBuilder large_map() {
    const int width = 1200 + below(100), height = 700;
    TgaBuilder map(width, height, palette_colour(below(int(kPalette.size()))));
    for (int i = 0; i < 300; ++i) {
      map.set(below(width), below(height),
              chance(50) ? marker() : palette_colour(below(int(kPalette.size()))));
    }
    return map;
  }

  // Runs of palette colours with markers of every kind among them.
  TgaBuilder map(int width, int height) {
    TgaBuilder map(width, height);
    Colour colour{0, 0, 0};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (chance(20)) colour = palette_colour(below(int(kPalette.size())));
        map.set(x, y, chance(10) ? marker() : colour);
      }
    }
    return map;
  }

  Colour marker() {
    const MarkerKind& kind = kMarkerKinds[static_cast<std::size_t>(below(5))];
    const std::uint8_t red =
        kind.kind == 2 && chance(50) ? std::uint8_t(below(3)) : std::uint8_t(below(256));
    return {red, std::uint8_t(below(256)), kind.blue};
  }

  static Colour palette_colour(int code) {
    const Rgb c = kPalette[static_cast<std::size_t>(code)].colour;
    return {c.red, c.green, c.blue};
  }

 private:
  std::mt19937 random_;
};

struct Level {
  TempDir dir;
  std::string config;
  TgaBuilder map{1, 1};
  bool gg_level = false, para = false, jpeg_tells_size = false;
};

// Converts level "level" in `dir`; its bytes, or nothing on failure.
Bytes convert(const TempDir& dir, const std::string& name) {
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system(), [] { return 0u; });
  if (converter.run_job(dir.prefix(name)) != ConversionResult::kSuccess) return {};
  return dir.read(name + ".lev");
}

void write_sources(const Level& level, int width, int height) {
  level.dir.write("level.TXT", level.config);
  level.map.save(level.dir.path() / "level.TGA");
  if (!level.gg_level) {
    level.dir.write("level.JPG", level.jpeg_tells_size ? frame_only_jpeg(width, height)
                                                       : std::string("not a jpeg"));
  }
  if (level.para) level.dir.write("levelP.JPG", std::string("parallax \x01\x02", 11));
}

struct RoundTrip {
  Bytes original, rebuilt;
  LevelContents contents;
};

// Unpacks level.lev of `dir` into a fresh folder and converts it again.
RoundTrip round_trip(const TempDir& dir, std::optional<std::uint32_t> width) {
  RoundTrip trip;
  trip.original = dir.read("level.lev");
  trip.contents = read_level(trip.original, {width});
  TempDir out;
  const Unpacked unpacked = unpack_level(trip.original, trip.contents, out.prefix("level"), false,
                                         dir.prefix("level.lev"), platform::default_system());
  EXPECT_TRUE(unpacked.status.ok()) << unpacked.status.text();
  trip.rebuilt = convert(out, "level");
  return trip;
}

std::string findings_text(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings) text += std::to_string(f.offset) + ": " + f.text + "\n";
  return text;
}

TEST(LevelUnpack, GeneratedLevelsRebuildByteForByte) {
  SourceGenerator generate(20261208);
  for (int i = 0; i < 240; ++i) {
    Level level;
    level.gg_level = i % 2 == 0;
    level.para = i % 4 < 2;
    level.jpeg_tells_size = i % 3 == 0;
    level.config = generate.config(level.gg_level, level.para);
    level.map = i % 50 == 0 ? generate.large_map()
                            : generate.map(1 + generate.below(16), 1 + generate.below(12));
    const int width = level.map.width(), height = level.map.height();
    write_sources(level, width, height);
    ASSERT_FALSE(convert(level.dir, "level").empty()) << "level " << i;

    const bool file_tells_width = level.gg_level || level.jpeg_tells_size;
    const RoundTrip trip = round_trip(
        level.dir, file_tells_width ? std::nullopt : std::optional(std::uint32_t(width)));
    EXPECT_EQ(findings_text(trip.contents.problems), "") << "level " << i;
    EXPECT_EQ(findings_text(trip.contents.differences), "") << "level " << i;
    EXPECT_TRUE(trip.rebuilt == trip.original) << "level " << i << "\n" << level.config;
  }
}

TEST(LevelUnpack, TheExampleLevelRebuildsByteForByte) {
  TempDir dir;
  for (const char* name : {"jungle.txt", "jungle.tga", "jungle.jpg", "junglep.jpg"}) {
    std::filesystem::copy_file(std::filesystem::path(ZUR_EXAMPLES_DIR) / name, dir.path() / name);
  }
  ASSERT_FALSE(convert(dir, "jungle").empty());
  dir.write("level.lev", dir.read("jungle.lev"));
  const RoundTrip trip = round_trip(dir, std::nullopt);
  EXPECT_EQ(findings_text(trip.contents.problems) + findings_text(trip.contents.differences), "");
  EXPECT_TRUE(trip.rebuilt == trip.original);
}

// Every kind with every red and every green value, one marker per pixel;
// kind 2 puts basic land under red 0 and 1.
TEST(LevelUnpack, EveryMarkerColourRebuildsItsRecordAndTheCodeUnderIt) {
  for (const MarkerKind& kind : kMarkerKinds) {
    for (const bool vary_red : {true, false}) {
      Level level;
      level.map = TgaBuilder(16, 16, {0, 0, 200});
      for (int i = 0; i < 256; ++i) {
        const auto value = std::uint8_t(i), other = std::uint8_t(i * 37 + 11);
        level.map.set(i % 16, i / 16,
                      {vary_red ? value : other, vary_red ? other : value, kind.blue});
      }
      level.config = test::complete_config({{"GGLEVEL", "yes"}});
      level.gg_level = true;
      write_sources(level, 16, 16);
      ASSERT_FALSE(convert(level.dir, "level").empty());
      const RoundTrip trip = round_trip(level.dir, std::nullopt);
      EXPECT_EQ(findings_text(trip.contents.differences), "") << int(kind.kind);
      EXPECT_TRUE(trip.rebuilt == trip.original) << "kind " << int(kind.kind);
    }
  }
}

TEST(LevelUnpack, MarkersPastTheObjectLimitRebuildAsTheCodeUnderThem) {
  Level level;
  level.map = TgaBuilder(40, 40);
  for (int i = 0; i < 1100; ++i) level.map.set(i % 40, i / 40, {std::uint8_t(i % 3), 5, 180});
  level.config = test::complete_config({{"GGLEVEL", "yes"}});
  level.gg_level = true;
  write_sources(level, 40, 40);
  ASSERT_FALSE(convert(level.dir, "level").empty());
  const RoundTrip trip = round_trip(level.dir, std::nullopt);
  EXPECT_EQ(trip.contents.objects.size(), kObjectLimit);
  EXPECT_TRUE(trip.rebuilt == trip.original);
}

// The config reader copies a value line whole, zero bytes too, so a text
// that holds them, or is empty, comes back from a value line with them.
TEST(LevelUnpack, TextsWithZeroBytesRebuildByteForByte) {
  const std::string zero(1, '\0');
  const struct {
    std::string keyword, value, shown;
  } cases[] = {
      {"MAKER", "Jungle" + zero + "Maker", "Jungle" + zero + "Maker"},
      {"MAKER", zero, zero},  // the empty text, not the default
      {"GGTHEME", zero + zero + "x", zero + zero + "x"},
      {"EMAIL", "mail" + zero, "mail"},  // the zero that ends the text
      {"SIGNTEXT1", "Wel" + zero + "come", "Wel" + zero + "come"},
      {"SIGNTEXT2", "a" + zero + "b," + zero + "c", "a" + zero + "b," + zero + "c"},
  };
  for (const auto& c : cases) {
    const bool sign = c.keyword.starts_with("SIGNTEXT");
    Level level;
    level.map = TgaBuilder(3, 2, {77, 77, 77});
    level.config = test::complete_config({{"GGLEVEL", "yes"}, {c.keyword, c.value}}) +
                   (sign ? "/" + c.keyword + "\n" + c.value + "\n" : "");
    level.gg_level = true;
    write_sources(level, 3, 2);
    ASSERT_FALSE(convert(level.dir, "level").empty()) << c.keyword;
    const RoundTrip trip = round_trip(level.dir, std::nullopt);
    EXPECT_EQ(findings_text(trip.contents.differences), "") << c.keyword;
    EXPECT_TRUE(trip.rebuilt == trip.original) << c.keyword;
    const std::vector<SettingLine>& lines = trip.contents.settings.lines;
    const auto line = std::find_if(lines.begin(), lines.end(), [&](const SettingLine& l) {
      return kKeywords[l.keyword].name == c.keyword;
    });
    ASSERT_NE(line, lines.end()) << c.keyword;
    EXPECT_EQ(line->value, c.shown) << c.keyword;
  }
}

// Bytes no config file gives: the field is named, and the rebuilt level
// differs from the changed one within that field only.
TEST(LevelUnpack, RecordBytesNoConfigGivesAreNamedAndDifferThereOnly) {
  const struct {
    std::size_t field, size, at;  // the field in the record, and the byte changed in it
    std::uint8_t value;
    std::string named;
  } cases[] = {
      {field::kPara, 1, 0, 0, ""},  // unchanged: nothing named
      {field::kDisableRun, 1, 0, 2, "DISABLERUN: the yes/no byte is 2"},
      {field::kGgShape, 1, 0, 255, "GGSHAPE"},
      {field::kMaker, 128, 20, 'x', ""},  // a value line with zero bytes gives it
      {field::kEmail, 128, 127, 'x', "EMAIL: the text has no terminating zero"},
      {field::kSignD + 1, 2, 1, 7, "reserved bytes"},
      {field::kSignTable + 5 * field::kSignSlotSize, 32, 3, 'q', "sign slot 6"},
      {field::kSignCount, 4, 1, 1, "sign count: the sign count is 256"},
  };
  Level level;
  level.map = TgaBuilder(3, 2, {77, 77, 77});
  level.config = test::complete_config({{"GGLEVEL", "yes"}, {"MAKER", "short"}});
  level.gg_level = true;
  write_sources(level, 3, 2);
  const Bytes converted = convert(level.dir, "level");
  ASSERT_FALSE(converted.empty());
  for (const auto& c : cases) {
    Bytes changed = converted;
    const std::size_t field_at = level_format::kSettingsAt + c.field;
    if (c.value != 0) changed[field_at + c.at] = c.value;
    level.dir.write("level.lev", changed);
    const RoundTrip trip = round_trip(level.dir, std::nullopt);
    const std::string named = findings_text(trip.contents.differences);
    if (c.named.empty()) {
      EXPECT_EQ(named, "");
    } else {
      EXPECT_NE(named.find(c.named), std::string::npos) << named;
    }
    ASSERT_EQ(trip.rebuilt.size(), changed.size()) << c.named;
    for (std::size_t i = 0; i < changed.size(); ++i) {
      if (i < field_at || i >= field_at + c.size) {
        ASSERT_EQ(trip.rebuilt[i], changed[i]) << c.named << " at " << i;
      }
    }
  }
}

// Interrupted before any step that changes files, or meeting a full disk
// at any byte of a file, an unpack fails and leaves each file as it was or complete,
// and no temporary file; past its last step it succeeds.
TEST(UnpackSafety, InterruptionOrFullDiskAtEveryStepLeavesOldOrCompleteFiles) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(64, 32));
  dir.write("level.JPG", std::string(100000, 'j'));
  const Bytes level = convert(dir, "level");
  const LevelContents contents = read_level(level, {64});
  TempDir reference;
  ASSERT_TRUE(unpack_level(level, contents, reference.prefix("level"), false, "",
                           platform::default_system())
                  .status.ok());
  const std::vector<std::string> names = {"level.txt", "level.tga", "level.jpg"};
  int steps = 0;
  {
    TempDir out;
    test::FaultySystem counting;
    ASSERT_TRUE(unpack_level(level, contents, out.prefix("level"), true, "", counting).status.ok());
    steps = counting.steps();
  }
  ASSERT_GE(steps, 3 * 3);  // each file made, written and put in place
  // Every file is longer than the byte a write fails at, so whichever comes first fails.
  std::uint64_t shortest = UINT64_MAX;
  for (const std::string& name : names) {
    shortest = std::min<std::uint64_t>(shortest, reference.read(name).size());
  }
  struct Fault {
    int step;
    std::uint64_t byte;
  };
  std::vector<Fault> faults;
  for (int step = 1; step <= steps + 1; ++step) faults.push_back({step, 0});
  for (const std::uint64_t byte :
       {std::uint64_t{1}, std::uint64_t{40}, shortest / 2, shortest - 1}) {
    faults.push_back({0, byte});
  }
  for (const Fault& fault : faults) {
    const std::string when =
        "step " + std::to_string(fault.step) + ", byte " + std::to_string(fault.byte);
    TempDir out;
    for (const std::string& name : names) out.write(name, std::string("old"));
    bool failed = false;
    {
      test::FaultySystem system;
      if (fault.step > 0) system.interrupt_at_step(fault.step);
      if (fault.byte > 0) system.fail_writes_at(fault.byte);
      failed = !unpack_level(level, contents, out.prefix("level"), true, "", system).status.ok();
    }
    EXPECT_EQ(failed, fault.step == 0 || fault.step <= steps) << when;
    for (const std::string& name : names) {
      const Bytes now = out.read(name);
      const Bytes old = {'o', 'l', 'd'};
      EXPECT_TRUE(failed ? now == old || now == reference.read(name) : now == reference.read(name))
          << name << ", " << when;
    }
    for (const auto& entry : std::filesystem::directory_iterator(out.path())) {
      EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << when;
    }
  }
}

// Killed or interrupted at any moment, an unpack leaves each file as it was
// or complete, and no temporary file.
TEST(UnpackSafety, KillAtAnyMomentLeavesOldOrCompleteFiles) {
#ifdef _WIN32
  GTEST_SKIP()
      << "fork and signals are POSIX's; InterruptionOrFullDiskAtEveryStepLeavesOldOrComplete"
         "Files interrupts the unpack at every step on both systems";
#else
  TempDir dir;
  TgaBuilder map(512, 512);
  for (int y = 0; y < 512; ++y) {
    for (int x = y % 2; x < 512; x += 2) map.set(x, y, {0, 152, 0});
  }
  test::write_level(dir, "level", map);
  dir.write("level.JPG", std::string(8 << 20, 'j'));
  const Bytes level = convert(dir, "level");
  const LevelContents contents = read_level(level, {512});
  TempDir reference;
  ASSERT_TRUE(unpack_level(level, contents, reference.prefix("level"), false, "",
                           platform::default_system())
                  .status.ok());
  const std::vector<std::string> names = {"level.txt", "level.tga", "level.jpg"};

  std::set<std::string> outcomes;
  for (const int signal : {SIGKILL, SIGTERM, SIGINT}) {
    for (const int delay_us : {0, 2000, 6000, 15000, 40000, 100000}) {
      TempDir out;
      for (const std::string& name : names) out.write(name, std::string("old"));
      const pid_t child = ::fork();
      ASSERT_NE(child, -1);
      if (child == 0) {
        ::_exit(
            unpack_level(level, contents, out.prefix("level"), true, "", platform::default_system())
                    .status.ok()
                ? 0
                : 1);
      }
      ::usleep(static_cast<useconds_t>(delay_us));
      ::kill(child, signal);
      ASSERT_EQ(::waitpid(child, nullptr, 0), child);
      const std::string when = std::to_string(signal) + " after " + std::to_string(delay_us);
      for (const std::string& name : names) {
        const Bytes now = out.read(name);
        const bool old = now == Bytes{'o', 'l', 'd'};
        EXPECT_TRUE(old || now == reference.read(name)) << name << ", " << when;
        outcomes.insert(old ? "old" : "new");
      }
      // A hard kill between linking a temporary in and renaming it may
      // leave its hidden name; a catchable signal leaves none.
      if (signal == SIGKILL) continue;
      for (const auto& entry : std::filesystem::directory_iterator(out.path())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << when;
      }
    }
  }
  EXPECT_TRUE(outcomes.contains("old"));  // some signal came before the end
#endif
}

}  // namespace
}  // namespace zur
