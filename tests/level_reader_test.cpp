// SPDX-License-Identifier: MIT
// The level file reader on damaged files: each problem is named with its
// byte offset, nothing outside the bytes is read (the sanitizer build checks
// that), and what a marker could not rebuild is named apart.
#include "engine/level/level_reader.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/level/batch.h"
#include "engine/level/mapped_file.h"
#include "tests/support/level_sources.h"
#include "tests/support/listed_findings.h"
#include "tests/support/scripted_prompts.h"

namespace zur {
namespace {

using test::listed;

using Bytes = std::vector<std::uint8_t>;

// GGLEVEL yes, a 4 × 3 map of wall with a kind 3 marker at (1, 1): header,
// map size section at 958, object section at 962 (one record at 966), then
// the stream at 986. A second marker, at (2, 1), adds a record at 986 and
// moves the stream to 1006.
Bytes small_level(int markers = 1) {
  test::TempDir dir;
  test::TgaBuilder map(4, 3, {77, 77, 77});
  for (int x = 1; x <= markers; ++x) map.set(x, 1, {9, 0, 140});
  test::write_level(dir, "level", map, test::complete_config({{"GGLEVEL", "yes"}}));
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system(), [] { return 0u; });
  EXPECT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
  return dir.read("level.lev");
}

bool names(const std::vector<Finding>& findings, std::uint64_t offset, const std::string& text) {
  for (const Finding& f : findings) {
    if (f.offset == offset && f.text.find(text) != std::string::npos) return true;
  }
  return false;
}

struct Damage {
  std::string what;
  std::function<void(Bytes&)> apply;
  std::uint64_t offset;  // of the finding, or kAtEnd
  std::string named;
};
constexpr std::uint64_t kAtEnd = ~std::uint64_t{0};  // the damaged file's end

void put(Bytes& file, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) file[at + i] = std::uint8_t(value >> (8 * i));
}

TEST(LevelReader, ASoundLevelHasNoProblemAndNoDifference) {
  const Bytes file = small_level();
  const LevelContents level = read_level(file);
  EXPECT_EQ(listed(level.problems) + listed(level.differences), "");
  ASSERT_TRUE(level.map_size);
  EXPECT_EQ(level.map_size->width * 10 + level.map_size->height, 43u);
  ASSERT_EQ(level.objects.size(), 1u);
  EXPECT_EQ(level.objects[0].record.x * 10 + level.objects[0].record.y, 11);
  EXPECT_EQ(level.stream->offset, 986u);
  EXPECT_EQ(level.stream->pixels, 12u);
}

TEST(LevelReader, DamageIsNamedWithItsOffset) {
  const Damage cases[] = {
      {"truncated header", [](Bytes& f) { f.resize(100); }, 100, "shorter than the 958-byte"},
      {"no offsets", [](Bytes& f) { f.resize(10); }, 10, "shorter than the 958-byte"},
      {"one byte", [](Bytes& f) { f.resize(1); }, 1, "the file is 1 byte long"},
      {"signature", [](Bytes& f) { f[3] = 'X'; }, 0, "signature"},
      {"picture offset", [](Bytes& f) { put(f, 22, 99999); }, 22, "99999 lies past the file's"},
      {"objects before parallax", [](Bytes& f) { put(f, 30, 960); }, 30, "960 lies before 962"},
      {"count over the limit", [](Bytes& f) { put(f, 962, 1025); }, 962, "above the limit"},
      {"records past the end", [](Bytes& f) { put(f, 962, 9); }, kAtEnd, "run past the file's end"},
      {"no end token", [](Bytes& f) { f.resize(f.size() - 2); }, kAtEnd, "no end token"},
      {"bytes after the end",
       [](Bytes& f) {
         f.insert(f.end(), {1, 2, 3});
       },
       994, "3 bytes follow"},
      {"a byte after the end", [](Bytes& f) { f.push_back(1); }, 994, "1 byte follows"},
      {"code not in the palette", [](Bytes& f) { f[986] = 40 << 2 | (f[986] & 3); }, 986,
       "attribute code 40"},
      {"size section", [](Bytes& f) { f[958] = 5; }, 958, "not the 5 × 3"},
  };
  for (const Damage& c : cases) {
    Bytes file = small_level();
    c.apply(file);
    file.shrink_to_fit();  // so that the sanitizer sees a read past the end
    const LevelContents level = read_level(file);
    const std::uint64_t offset = c.offset == kAtEnd ? file.size() : c.offset;
    EXPECT_TRUE(names(level.problems, offset, c.named)) << c.what << listed(level.problems);
  }
}

TEST(LevelReader, EveryTruncationIsAProblemAndNeverReadsPastTheEnd) {
  const Bytes file = small_level();
  for (std::size_t size = 0; size < file.size(); ++size) {
    // A copy of its own, so that the sanitizer sees a read past its end.
    const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
    const LevelContents level = read_level(cut);
    EXPECT_FALSE(level.problems.empty()) << size;
  }
}

// Whatever the object count says, a record the file holds only part of is
// never taken as an object, and the cut is named at the file's end.
TEST(LevelReader, LastObjectRecordCutShortIsNotAnObject) {
  constexpr std::size_t kRecords = 966;
  const struct {
    Bytes file;
    std::size_t records;
  } levels[] = {{small_level(), 1}, {small_level(2), 2}};
  for (const auto& level : levels) {
    const std::size_t records = level.records;
    ASSERT_EQ(read_level(level.file).objects.size(), records);
    const std::size_t last = kRecords + (records - 1) * object_field::kRecordSize;
    for (std::size_t cut = 1; cut < object_field::kRecordSize; ++cut) {
      const Bytes file(level.file.begin(), level.file.begin() + std::ptrdiff_t(last + cut));
      const LevelContents contents = read_level(file);
      const std::string row = std::to_string(records) + " records, cut " + std::to_string(cut);
      EXPECT_EQ(contents.objects.size(), records - 1) << row;
      EXPECT_TRUE(names(contents.problems, file.size(), "past the file's end"))
          << row << listed(contents.problems);
    }
  }
}

TEST(LevelReader, ObjectsNoMarkerRebuildsAreNamed) {
  constexpr std::size_t kRecord = 966;
  const Damage cases[] = {
      {"reserved byte", [](Bytes& f) { f[kRecord + 19] = 1; }, kRecord, "reserved bytes"},
      {"unknown kind", [](Bytes& f) { f[kRecord + 8] = 9; }, kRecord, "kind 9 is no marker"},
      {"parameters", [](Bytes& f) { f[kRecord + 8] = 0, f[kRecord + 9] = 7; }, kRecord,
       "no marker colour gives kind 0"},
      {"code under", [](Bytes& f) { f[kRecord + 8] = 2, f[kRecord + 9] = 1; }, kRecord,
       "its marker leaves code 1"},
      {"outside", [](Bytes& f) { put(f, kRecord, 50); }, kRecord, "outside the 4 × 3 map"},
  };
  for (const Damage& c : cases) {
    Bytes file = small_level();
    c.apply(file);
    const LevelContents level = read_level(file);
    EXPECT_EQ(listed(level.problems), "") << c.what;
    EXPECT_TRUE(names(level.differences, c.offset, c.named)) << c.what << listed(level.differences);
  }
}

// A level file the system it is read through cannot map is not read.
TEST(MappedFile, AFileTheSystemCannotMapIsNotRead) {
  class NoMapping final : public platform::SystemWrapper {
   public:
    using SystemWrapper::SystemWrapper;
    const std::uint8_t* map_read_only(platform::FileHandle, std::uint64_t) override {
      return nullptr;
    }
  } system(platform::default_system());
  test::TempDir dir;
  dir.write("level.lev", small_level());
  MappedFile unmapped(system);
  const Status opened = unmapped.open(dir.prefix("level.lev"));
  ASSERT_FALSE(opened.ok());
  EXPECT_EQ(opened.error().code, std::errc::not_enough_memory);
  EXPECT_TRUE(unmapped.bytes().empty());
  MappedFile mapped(platform::default_system());
  ASSERT_TRUE(mapped.open(dir.prefix("level.lev")).ok());
  EXPECT_EQ(Bytes(mapped.bytes().begin(), mapped.bytes().end()), small_level());
}

}  // namespace
}  // namespace zur
