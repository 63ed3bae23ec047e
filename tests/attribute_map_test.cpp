// SPDX-License-Identifier: MIT
#include "engine/attrmap/attribute_map.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "engine/attrmap/compiler.h"
#include "engine/attrmap/row_source.h"
#include "engine/level/batch.h"
#include "tests/support/faulty_system.h"
#include "tests/support/level_bytes.h"
#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"

namespace zur {
namespace {

using test::Colour;
using test::TempDir;
using test::TgaBuilder;

ConversionResult read_bytes(const TempDir& dir, const std::vector<std::uint8_t>& bytes,
                            MapHeader& header) {
  dir.write("map.TGA", bytes);
  MapFile map(platform::default_system());
  return open_attribute_map((dir.path() / "map.TGA").string(), map, header);
}

// From memory: the file-based reader reads the same header.
ConversionResult read_bytes(const std::vector<std::uint8_t>& bytes) {
  MapMemory map(bytes);
  MapHeader header;
  return read_map_header(map, header);
}

// Every pixel of the file, rows in the order the row source hands them out.
std::vector<std::vector<Colour>> rows_of(const std::vector<std::uint8_t>& file,
                                         std::size_t block_bytes) {
  const MapHeader header = test::header_of(file);
  MapMemory map(file);
  RowSource source(header, map, block_bytes);
  std::vector<std::vector<Colour>> rows;
  for (int y = 0; y < header.height; ++y) {
    const std::uint8_t* row = source.next_row();
    if (row == nullptr) break;
    rows.emplace_back();
    for (int x = 0; x < header.width; ++x) {
      rows.back().push_back({row[3 * x + 2], row[3 * x + 1], row[3 * x]});
    }
  }
  return rows;
}

TEST(ReadAttributeMap, HeaderFieldsDecideTheResultInOrder) {
  const struct {
    std::uint8_t type, bits, descriptor;
    ConversionResult expected;
  } cases[] = {
      {2, 24, 0, ConversionResult::kSuccess},
      {2, 24, 32, ConversionResult::kSuccess},
      {10, 32, 0, ConversionResult::kWrongTgaFormat},  // compressed wins over the depth
      {10, 24, 0, ConversionResult::kWrongTgaFormat},
      {1, 24, 0, ConversionResult::kWrongTgaFormat},
      {3, 8, 0, ConversionResult::kWrongTgaFormat},
      {2, 32, 0, ConversionResult::kIllegalBitDepth},
      {2, 32, 8, ConversionResult::kIllegalBitDepth},  // the depth wins over the descriptor
      {2, 16, 0, ConversionResult::kIllegalBitDepth},
      {2, 24, 8, ConversionResult::kWrongTgaFormat},   // alpha bits declared
      {2, 24, 40, ConversionResult::kWrongTgaFormat},  // top row first with alpha bits
      {2, 24, 16, ConversionResult::kWrongTgaFormat},  // right-to-left pixel order
      {2, 24, 48, ConversionResult::kWrongTgaFormat},
      {2, 24, 1, ConversionResult::kWrongTgaFormat},
      {2, 24, 64, ConversionResult::kWrongTgaFormat},
  };
  for (const auto& c : cases) {
    const auto bytes =
        TgaBuilder(3, 2).image_type(c.type).bits_per_pixel(c.bits).descriptor(c.descriptor).bytes();
    EXPECT_EQ(read_bytes(bytes), c.expected) << "type " << int{c.type} << ", bits " << int{c.bits}
                                             << ", descriptor " << int{c.descriptor};
  }
}

TEST(ReadAttributeMap, MissingFileOrFolderIsNotFound) {
  TempDir dir;
  MapFile map(platform::default_system());
  MapHeader header;
  EXPECT_EQ(open_attribute_map((dir.path() / "none.TGA").string(), map, header),
            ConversionResult::kAttributeMapMissing);
  std::filesystem::create_directory(dir.path() / "folder.TGA");
  MapFile folder(platform::default_system());
  EXPECT_EQ(open_attribute_map((dir.path() / "folder.TGA").string(), folder, header),
            ConversionResult::kAttributeMapMissing);
}

TEST(ReadAttributeMap, ShortFilesAreRefusedBeforeAnyPixelIsRead) {
  const std::vector<std::uint8_t> full = TgaBuilder(4, 3).bytes();  // 18 + 36 bytes
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    ConversionResult expected;
  } cases[] = {
      {"empty file", {}, ConversionResult::kWrongTgaFormat},
      {"two bytes", {0, 0}, ConversionResult::kWrongTgaFormat},
      {"three bytes, type 2", {0, 0, 2}, ConversionResult::kWrongTgaFormat},
      {"17 bytes", {full.begin(), full.begin() + 17}, ConversionResult::kWrongTgaFormat},
      {"header only", {full.begin(), full.begin() + 18}, ConversionResult::kWrongTgaFormat},
      {"one byte short", {full.begin(), full.end() - 1}, ConversionResult::kWrongTgaFormat},
      {"one row short", {full.begin(), full.end() - 12}, ConversionResult::kWrongTgaFormat},
      {"exact", full, ConversionResult::kSuccess},
  };
  for (const auto& c : cases) EXPECT_EQ(read_bytes(c.bytes), c.expected) << c.name;

  // A truncated header still gets the result of the fields it holds.
  std::vector<std::uint8_t> compressed = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(read_bytes(compressed), ConversionResult::kWrongTgaFormat);
  std::vector<std::uint8_t> deep(full.begin(), full.begin() + 17);
  deep[16] = 32;
  EXPECT_EQ(read_bytes(deep), ConversionResult::kIllegalBitDepth);
}

TEST(ReadAttributeMap, HugeDeclaredSizeWithoutPixelsIsRefused) {
  std::vector<std::uint8_t> bytes = TgaBuilder(0, 0).bytes();
  bytes[12] = bytes[13] = bytes[14] = bytes[15] = 0xFF;  // 65535 x 65535
  bytes.resize(bytes.size() + 3 * 65535, 0);             // one row only
  EXPECT_EQ(read_bytes(bytes), ConversionResult::kWrongTgaFormat);
}

TEST(ReadAttributeMap, EmptyPicturesAreAccepted) {
  const struct { int width, height; } cases[] = {{0, 0}, {0, 7}, {7, 0}};
  for (const auto& c : cases) {
    TempDir dir;
    MapHeader map;
    ASSERT_EQ(read_bytes(dir, TgaBuilder(c.width, c.height).bytes(), map),
              ConversionResult::kSuccess)
        << c.width << " x " << c.height;
    EXPECT_EQ(map.width, c.width);
    EXPECT_EQ(map.height, c.height);
  }
}

TEST(ReadAttributeMap, SizesAreUnsigned16Bit) {
  TempDir dir;
  MapHeader map;
  std::vector<std::uint8_t> bytes = TgaBuilder(0, 0).bytes();
  bytes[12] = bytes[13] = 0xFF;  // width 65535, height 0
  ASSERT_EQ(read_bytes(dir, bytes, map), ConversionResult::kSuccess);
  EXPECT_EQ(map.width, 65535);
  EXPECT_EQ(map.height, 0);
  bytes = TgaBuilder(0, 0).bytes();
  bytes[12] = 1;     // width 1
  bytes[15] = 0x80;  // height 32768
  bytes.resize(18 + 3 * 32768, 0);
  ASSERT_EQ(read_bytes(dir, bytes, map), ConversionResult::kSuccess);
  EXPECT_EQ(map.width, 1);
  EXPECT_EQ(map.height, 32768);
}

TEST(ReadAttributeMap, RowsAreNumberedFromTheTopWhateverTheStoredOrder) {
  TgaBuilder picture(3, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 3; ++x) picture.set(x, y, {std::uint8_t(x), std::uint8_t(y), 77});
  }
  for (std::uint8_t descriptor : {0, 32}) {
    TempDir dir;
    MapHeader map;
    std::vector<std::uint8_t> bytes = picture.descriptor(descriptor).bytes();
    // The origin fields do not change the row order; only the descriptor does.
    bytes[8] = 5, bytes[9] = 1, bytes[10] = 9, bytes[11] = 2;
    ASSERT_EQ(read_bytes(dir, bytes, map), ConversionResult::kSuccess);
    EXPECT_EQ(map.bottom_up, descriptor == 0);
    // Blocks of one row, of two rows with a partial last block, and of all rows.
    for (std::size_t block_bytes : {1, 18, 36, 1 << 20}) {
      const auto rows = rows_of(bytes, block_bytes);
      ASSERT_EQ(rows.size(), 4u) << "block " << block_bytes;
      for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 3; ++x) {
          EXPECT_EQ(rows[y][x], (Colour{std::uint8_t(x), std::uint8_t(y), 77}))
              << "descriptor " << int{descriptor} << ", block " << block_bytes << ", pixel " << x
              << "," << y;
        }
      }
    }
  }
}

TEST(ReadAttributeMap, PixelsStartAfterTheImageIdFieldAndColourMap) {
  const struct {
    std::uint8_t id_length;
    std::uint16_t entries;
    std::uint8_t entry_bits;
    std::uint64_t pixels_at;
  } cases[] = {
      {0, 0, 0, 18}, {6, 0, 0, 24},  {0, 3, 24, 27},      {0, 3, 15, 24},         {0, 2, 32, 26},
      {0, 5, 1, 23}, {0, 0, 24, 18}, {255, 256, 16, 785}, {1, 65535, 32, 262159},
  };
  for (const auto& c : cases) {
    const auto bytes = TgaBuilder(2, 3)
                           .set(0, 0, {1, 2, 3})
                           .set(1, 2, {4, 5, 6})
                           .id_length(c.id_length)
                           .colour_map(c.entries, c.entry_bits)
                           .bytes();
    ASSERT_EQ(bytes.size(), c.pixels_at + 18) << "pixels at " << c.pixels_at;
    TempDir dir;
    MapHeader map;
    ASSERT_EQ(read_bytes(dir, bytes, map), ConversionResult::kSuccess);
    EXPECT_EQ(map.pixels_at, c.pixels_at);
    const auto rows = rows_of(bytes, 1 << 20);
    EXPECT_EQ(rows.at(0).at(0), (Colour{1, 2, 3})) << "pixels at " << c.pixels_at;
    EXPECT_EQ(rows.at(2).at(1), (Colour{4, 5, 6})) << "pixels at " << c.pixels_at;
    // The length check counts the fields: one byte less is too short.
    EXPECT_EQ(read_bytes({bytes.begin(), bytes.end() - 1}), ConversionResult::kWrongTgaFormat);
  }
  // Only colour map type 1 includes a colour map; other types announce none.
  std::vector<std::uint8_t> bytes = TgaBuilder(2, 3).colour_map(4, 24).bytes();
  bytes[1] = 2;
  EXPECT_EQ(test::header_of(bytes).pixels_at, 18u);
}

// A picture of palette colours in patches and scattered markers of every kind.
TgaBuilder random_picture(int width, int height, std::mt19937& random) {
  const Colour colours[] = {{0, 0, 0},       {0, 152, 0},     {77, 77, 77},  {0, 0, 255},
                            {255, 255, 255}, {255, 255, 230}, {7, 182, 120}, {1, 9, 180},
                            {2, 9, 180},     {40, 0, 140},    {99, 77, 190}, {1, 2, 3}};
  TgaBuilder picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width;) {
      const Colour colour = colours[random() % std::size(colours)];
      for (int run = 1 + static_cast<int>(random() % 40); run > 0 && x < width; --run, ++x) {
        picture.set(x, y, colour);
      }
    }
  }
  return picture;
}

TEST(ReadAttributeMap, BottomUpAndTopDownFilesCompileToTheSameLevel) {
  std::mt19937 random(7);
  const struct { int width, height; } sizes[] = {{1, 1}, {17, 5}, {33, 9}, {64, 40}, {5, 300}};
  for (const auto& size : sizes) {
    const TgaBuilder picture = random_picture(size.width, size.height, random);
    std::vector<std::uint8_t> levels[2];
    for (int i = 0; i < 2; ++i) {
      TgaBuilder stored = picture;
      stored.descriptor(i == 0 ? 0 : 32);
      TempDir dir;
      test::write_level(dir, "level", stored);
      test::ScriptedPrompts prompts;
      prompts.illegal_colour_answers = {true};
      Converter converter(prompts, platform::default_system(), [] { return 0u; });
      ASSERT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
      levels[i] = dir.read("level.lev");
    }
    EXPECT_EQ(levels[0], levels[1]) << size.width << " x " << size.height;
  }
}

// The level file converted from this attribute map file, padded with zero
// bytes (sparse) to `file_size` when that is larger.
std::vector<std::uint8_t> convert_file(const std::vector<std::uint8_t>& map,
                                       const std::string& config, std::uint64_t file_size = 0) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(0, 0), config);
  dir.write("level.TGA", map);
  if (file_size > map.size()) std::filesystem::resize_file(dir.path() / "level.TGA", file_size);
  test::ScriptedPrompts prompts;
  prompts.illegal_colour_answers = {true};
  Converter converter(prompts, platform::default_system(), [] { return 0u; });
  EXPECT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
  return dir.exists("level.lev") ? dir.read("level.lev") : std::vector<std::uint8_t>{};
}

TEST(CompileAttributeMap, ImageIdFieldAndColourMapLeaveTheLevelAsWithout) {
  std::mt19937 random(5);
  for (const char* gg_level : {"no", "yes"}) {
    const std::string config = test::complete_config({{"GGLEVEL", gg_level}});
    for (std::uint8_t descriptor : {0, 32}) {
      TgaBuilder picture = random_picture(19, 7, random);
      picture.descriptor(descriptor);
      const std::vector<std::uint8_t> plain = convert_file(picture.bytes(), config);
      ASSERT_FALSE(plain.empty());
      EXPECT_EQ(convert_file(picture.id_length(26).colour_map(5, 24).bytes(), config), plain)
          << "GGLEVEL " << gg_level << ", descriptor " << int{descriptor};
    }
  }
}

// Bytes after the pixel data are never read, so padding costs nothing.
TEST(CompileAttributeMap, MapPaddedFarBeyondItsPixelsGivesTheSameLevel) {
  std::mt19937 random(3);
  const std::string config = test::complete_config();
  const std::vector<std::uint8_t> map = random_picture(4, 2, random).id_length(3).bytes();
  const std::vector<std::uint8_t> plain = convert_file(map, config);
  ASSERT_FALSE(plain.empty());
  EXPECT_EQ(convert_file(map, config, std::uint64_t{4} << 30), plain);
}

// Records how far into the map its reader goes; past the given bytes, a
// file of `size` bytes holds zeros.
class RecordingMap : public MapBytes {
 public:
  RecordingMap(std::vector<std::uint8_t> start, std::uint64_t size)
      : start_(std::move(start)), size_(size) {}
  std::uint64_t size() const override { return size_; }
  bool read_at(std::uint64_t offset, std::uint8_t* into, std::size_t count) override {
    if (offset > size_ || size_ - offset < count) return false;
    read_end = std::max(read_end, offset + count);
    for (std::size_t i = 0; i < count; ++i) {
      into[i] = offset + i < start_.size() ? start_[offset + i] : 0;
    }
    return true;
  }
  std::uint64_t read_end = 0;

 private:
  std::vector<std::uint8_t> start_;
  std::uint64_t size_;
};

TEST(ReadAttributeMap, ReadsTheHeaderAndPixelsOnly) {
  const std::vector<std::uint8_t> map = TgaBuilder(4, 2).id_length(2).colour_map(1, 24).bytes();
  RecordingMap padded(map, std::uint64_t{4} << 30);
  MapHeader header;
  ASSERT_EQ(read_map_header(padded, header), ConversionResult::kSuccess);
  EXPECT_EQ(padded.read_end, 18u);
  RowSource rows(header, padded);
  for (int y = 0; y < header.height; ++y) ASSERT_NE(rows.next_row(), nullptr);
  EXPECT_EQ(padded.read_end, map.size());

  // 65535 x 65535 announced, one byte short of its pixels: refused from the size.
  std::vector<std::uint8_t> huge = TgaBuilder(0, 0).bytes();
  huge[12] = huge[13] = huge[14] = huge[15] = 0xFF;
  RecordingMap short_of_pixels(huge, 18 + 3ull * 65535 * 65535 - 1);
  EXPECT_EQ(read_map_header(short_of_pixels, header), ConversionResult::kWrongTgaFormat);
  EXPECT_EQ(short_of_pixels.read_end, 18u);
}

TEST(CompileAttributeMap, RefusedMapMovesNoProgressAndLeavesNoLevelFile) {
  TempDir dir;
  std::vector<std::uint8_t> bytes = TgaBuilder(4, 4).bytes();
  bytes.pop_back();
  test::write_level(dir, "level", TgaBuilder(1, 1));
  dir.write("level.TGA", bytes);
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  EXPECT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kWrongTgaFormat);
  EXPECT_EQ(prompts.progress, std::vector<int>{0});
  EXPECT_FALSE(dir.exists("level.lev"));
  EXPECT_EQ(prompts.messages(),
            std::vector<std::string>{"Conversion failed.\nWrong TGA (attribute map) format.\nIt "
                                     "must be 24-bit, not compressed TGA file."});
}

TEST(CompileAttributeMap, MissingMapNamesItInTheMessage) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(1, 1));
  std::filesystem::remove(dir.path() / "level.TGA");
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  EXPECT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kAttributeMapMissing);
  EXPECT_FALSE(dir.exists("level.lev"));
  EXPECT_EQ(prompts.messages(),
            std::vector<std::string>{
                std::string("Conversion failed.\nAttribute map TGA file not found.\n\nFile "
                            "missing:\n") +
                dir.prefix("level") + ".tga"});
}

TEST(CompileAttributeMap, ProgressMovesTo40Then70Then100ThenBackTo0) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(2, 2));
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  ASSERT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
  EXPECT_EQ(prompts.progress, (std::vector<int>{40, 70, 100, 0}));
}

// The compiler's output for this map file, read `block_bytes` at a time from
// memory or from a saved file, and the prompts it showed.
struct Compiled {
  std::vector<std::uint8_t> level;
  std::vector<std::string> prompts;
};

Compiled compile_with(const std::vector<std::uint8_t>& file, std::size_t block_bytes,
                      bool from_file) {
  TempDir dir;
  dir.write("map.TGA", file);
  test::ScriptedPrompts prompts;
  prompts.illegal_colour_answers = {true};
  Conversion conversion(prompts, platform::default_system(), [] { return 0u; });
  conversion.prefix = "level";
  Compiled compiled;
  compiled.level = test::appended_bytes(dir, [&](LevelFile& out) {
    const ConversionResult result =
        from_file
            ? compile_attribute_map((dir.path() / "map.TGA").string(), out, conversion, block_bytes)
            : compile_attribute_map(file, out, conversion, block_bytes);
    EXPECT_EQ(result, ConversionResult::kSuccess);
  });
  for (const test::Prompt& prompt : prompts.prompts) compiled.prompts.push_back(prompt.text);
  return compiled;
}

TEST(CompileAttributeMap, SmallBlocksGiveTheSameLevelAsOneLargeBlock) {
  std::mt19937 random(11);
  constexpr int kWidth = 37, kHeight = 23;
  TgaBuilder picture = random_picture(kWidth, kHeight, random);
  const Compiled expected = compile_with(picture.descriptor(32).bytes(), 1 << 20, false);
  ASSERT_FALSE(expected.prompts.empty());
  EXPECT_EQ(expected.prompts[0].rfind("Illegal color", 0), 0u) << expected.prompts[0];
  // Smaller than a row, exactly one row, five rows (a partial last block), all rows.
  for (std::size_t block_bytes : {1, 3 * kWidth, 5 * 3 * kWidth, 1 << 20}) {
    for (std::uint8_t descriptor : {0, 32}) {
      for (bool from_file : {false, true}) {
        const Compiled compiled =
            compile_with(picture.descriptor(descriptor).bytes(), block_bytes, from_file);
        EXPECT_EQ(compiled.level, expected.level) << "block " << block_bytes << ", descriptor "
                                                  << int{descriptor} << ", file " << from_file;
        EXPECT_EQ(compiled.prompts, expected.prompts) << "block " << block_bytes;
      }
    }
  }
}

// Cuts the attribute map short once its header has been checked.
class ShrinkingMapPrompts : public test::ScriptedPrompts {
 public:
  explicit ShrinkingMapPrompts(std::filesystem::path map) : map_(std::move(map)) {}
  void set_progress(int position) override {
    if (position == 40) std::filesystem::resize_file(map_, std::filesystem::file_size(map_) / 2);
    test::ScriptedPrompts::set_progress(position);
  }

 private:
  std::filesystem::path map_;
};

TEST(CompileAttributeMap, MapThatShrinksDuringThePassIsAReadFailure) {
  for (std::uint8_t descriptor : {0, 32}) {
    TempDir dir;
    test::write_level(dir, "level", TgaBuilder(40, 30).descriptor(descriptor));
    ShrinkingMapPrompts prompts(dir.path() / "level.TGA");
    Converter converter(prompts, platform::default_system());
    EXPECT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kAttributeMapMissing)
        << "descriptor " << int{descriptor};
    EXPECT_FALSE(dir.exists("level.lev")) << "descriptor " << int{descriptor};
    EXPECT_EQ(prompts.progress, (std::vector<int>{40, 0})) << "descriptor " << int{descriptor};
  }
}

// A write to the level file that fails part way, as on a full disk.
TEST(CompileAttributeMap, FailedWriteFailsTheConversionBeforeTheReport) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(8, 8));
  test::ScriptedPrompts prompts;
  test::FaultySystem system;
  system.fail_writes_at(500);
  Converter converter(prompts, system);
  const ConversionResult result = converter.run_job(dir.prefix("level"));
  EXPECT_EQ(result, ConversionResult::kCannotAccessOutput);
  EXPECT_EQ(prompts.messages(),
            std::vector<std::string>{"Conversion failed.\n\nCould not access \n" +
                                     dir.prefix("level") + ".lev"});
  EXPECT_EQ(prompts.prompts.size(), 1u);  // no report
}

}  // namespace
}  // namespace zur
