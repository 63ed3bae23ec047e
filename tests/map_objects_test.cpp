// SPDX-License-Identifier: MIT
#include "engine/attrmap/map_objects.h"

#include <gtest/gtest.h>

#include "tests/support/level_bytes.h"
#include "tests/support/level_sources.h"

namespace zur {
namespace {

using test::Colour;
using test::TempDir;
using test::TgaBuilder;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kMarkerBlues[] = {230, 120, 180, 140, 190};

bool is_marker_blue(int blue) {
  for (std::uint8_t marker : kMarkerBlues) {
    if (blue == marker) return true;
  }
  return false;
}

// The attribute code the level gets at (x, y) of a map `width` pixels wide.
int code_at(const test::ScannedMap& scanned, int width, int x, int y) {
  return test::expand_runs(test::decode_stream(scanned.stream).runs)
      .at(static_cast<std::size_t>(y * width + x));
}

// The 20 bytes a record holds for an object at (x, y).
Bytes record_bytes(int x, int y, std::uint8_t kind, std::array<std::uint8_t, 5> parameters) {
  Bytes record(20, 0);
  for (int i = 0; i < 4; ++i) {
    record[i] = static_cast<std::uint8_t>(x >> (8 * i));
    record[4 + i] = static_cast<std::uint8_t>(y >> (8 * i));
  }
  record[8] = kind;
  std::copy(parameters.begin(), parameters.end(), record.begin() + 9);
  return record;
}

TEST(MarkerObject, KindParametersOfTheDocumentedExamples) {
  const struct {
    const char* name;
    Colour colour;
    std::uint8_t kind;
    std::array<std::uint8_t, 5> parameters;
  } cases[] = {
      {"kind 0, all bits", {255, 255, 230}, 0, {6, 15, 3, 63, 0}},
      {"kind 0, red 0x23", {0x23, 0, 230}, 0, {2, 2, 0, 0, 0}},
      {"kind 0, red 0x0F", {0x0F, 0, 230}, 0, {6, 0, 0, 0, 0}},
      {"kind 0, red 0x15", {0x15, 0, 230}, 0, {4, 1, 0, 0, 0}},
      {"kind 1", {200, 0xB6, 120}, 1, {72, 1, 2, 1, 11}},
      {"kind 2", {201, 0xEB, 180}, 2, {201, 3, 1, 7, 0}},
      {"kind 3 ignores green", {77, 255, 140}, 3, {77, 0, 0, 0, 0}},
      {"kind 4", {0xC5, 0xAB, 190}, 4, {5, 3, 0xAB, 0, 0}},
  };
  for (const auto& c : cases) {
    const auto object = marker_object(c.colour.red, c.colour.green, c.colour.blue);
    ASSERT_TRUE(object) << c.name;
    EXPECT_EQ(object->kind, c.kind) << c.name;
    EXPECT_EQ(object->parameters, c.parameters) << c.name;
  }
}

// The parameters read as bit fields of red (R) and green (G).
std::array<std::uint8_t, 5> parameters_by_bit_fields(int kind, unsigned r, unsigned g) {
  auto bits = [](unsigned value, int low, int high) {
    return static_cast<std::uint8_t>((value >> low) & ((1u << (high - low + 1)) - 1));
  };
  static constexpr std::uint8_t kKind0Bytes[16] = {0, 1, 5, 2, 3, 4, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6};
  switch (kind) {
    case 0:
      return {kKind0Bytes[bits(r, 0, 3)], bits(r, 4, 7), bits(g, 0, 1), bits(g, 2, 7), 0};
    case 1:
      return {bits(r, 0, 6), bits(r, 7, 7), bits(g, 0, 1), bits(g, 2, 3), bits(g, 4, 7)};
    case 2:
      return {bits(r, 0, 7), bits(g, 0, 2), bits(g, 3, 4), bits(g, 5, 7), 0};
    case 3:
      return {bits(r, 0, 7), 0, 0, 0, 0};
    default:
      return {bits(r, 0, 5), bits(r, 6, 7), bits(g, 0, 7), 0, 0};
  }
}

TEST(MarkerObject, EveryRedAndGreenOfEveryKindFollowsTheBitFields) {
  for (int kind = 0; kind < 5; ++kind) {
    int mismatches = 0;
    for (unsigned r = 0; r < 256; ++r) {
      for (unsigned g = 0; g < 256; ++g) {
        const auto object = marker_object(std::uint8_t(r), std::uint8_t(g), kMarkerBlues[kind]);
        const bool right = object && object->kind == kind &&
                           object->parameters == parameters_by_bit_fields(kind, r, g);
        if (!right && ++mismatches <= 3) {
          ADD_FAILURE() << "kind " << kind << ", red " << r << ", green " << g;
        }
      }
    }
    EXPECT_EQ(mismatches, 0) << "kind " << kind;
  }
}

TEST(MarkerObject, OnlyTheFiveBlueValuesAreMarkers) {
  for (int blue = 0; blue < 256; ++blue) {
    for (std::uint8_t other : {0, 120, 230, 255}) {
      EXPECT_EQ(marker_object(other, other, std::uint8_t(blue)).has_value(), is_marker_blue(blue))
          << "blue " << blue << ", red and green " << int{other};
    }
  }
}

// Under the object the level gets basic land (code 1) for kind 2 with red 0
// or 1, and air (code 0) for every other marker.
TEST(PlaceMapObjects, RepaintsKind2OnRed0Or1AsBasicLandAndEveryOtherMarkerAsBlack) {
  const struct {
    Colour marker;
    int code_under;
  } cases[] = {
      {{0, 200, 180}, 1}, {{1, 7, 180}, 1},   {{2, 0, 180}, 0},
      {{255, 0, 180}, 0}, {{0, 0, 230}, 0},   {{1, 0, 120}, 0},
      {{0, 152, 140}, 0}, {{1, 255, 190}, 0}, {{0, 152, 230}, 0},
  };
  for (const auto& c : cases) {
    const test::ScannedMap scanned =
        test::scan_map(TgaBuilder(3, 2, {0, 100, 0}).set(1, 1, c.marker));
    const std::string row = "marker " + std::to_string(c.marker.red) + "," +
                            std::to_string(c.marker.green) + "," + std::to_string(c.marker.blue);
    EXPECT_EQ(scanned.findings->objects.count, 1u) << row;
    EXPECT_FALSE(scanned.findings->first_illegal) << row;
    EXPECT_EQ(code_at(scanned, 3, 1, 1), c.code_under) << row;
    EXPECT_EQ(code_at(scanned, 3, 0, 1), 32) << row;  // (0, 100, 0)
  }
}

TEST(PlaceMapObjects, ChannelsOtherThanBlueWithMarkerValuesPlaceNothing) {
  TgaBuilder picture(40, 3, {0, 0, 0});
  picture.set(5, 1, {230, 120, 0}).set(6, 1, {180, 140, 0}).set(30, 2, {190, 190, 1});
  const test::ScannedMap scanned = test::scan_map(picture);
  EXPECT_EQ(scanned.findings->objects.count, 0u);
  ASSERT_TRUE(scanned.findings->first_illegal);  // an illegal colour, not a marker
  EXPECT_EQ(scanned.findings->first_illegal->x, 5);
  EXPECT_EQ(scanned.findings->first_illegal->y, 1);
}

// Markers met by the scan at each column of rows of these widths: block
// boundaries, whole blocks and row tails.
TEST(PlaceMapObjects, FindsAMarkerAtEveryColumn) {
  for (int width : {1, 2, 15, 16, 17, 31, 32, 33, 47, 48, 50}) {
    for (int x = 0; x < width; ++x) {
      const std::uint8_t blue = kMarkerBlues[x % 5];
      const test::ScannedMap scanned = test::scan_map(
          TgaBuilder(width, 3, {0, 152, 0}).set(x, 1, {3, 4, blue}).descriptor(x % 2 ? 0 : 32));
      const ObjectTable& objects = scanned.findings->objects;
      ASSERT_EQ(objects.count, 1u) << "width " << width << ", x " << x;
      EXPECT_EQ(objects.records[0].x, x) << "width " << width;
      EXPECT_EQ(objects.records[0].y, 1) << "width " << width << ", x " << x;
      EXPECT_EQ(code_at(scanned, width, x, 1), 0) << "width " << width << ", x " << x;
    }
  }
}

TEST(PlaceMapObjects, RecordsEveryMarkerOfAFullRowInOrder) {
  for (int width : {16, 37, 64}) {
    TgaBuilder picture(width, 2);
    for (int x = 0; x < width; ++x) picture.set(x, 1, {std::uint8_t(x), 0, kMarkerBlues[x % 5]});
    const test::ScannedMap scanned = test::scan_map(picture);
    const ObjectTable& objects = scanned.findings->objects;
    ASSERT_EQ(objects.count, static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
      EXPECT_EQ(objects.records[x].x, x) << "width " << width;
      EXPECT_EQ(objects.records[x].kind, x % 5) << "width " << width << ", x " << x;
      EXPECT_EQ(code_at(scanned, width, x, 1), 0) << "width " << width << ", x " << x;
    }
  }
}

TEST(ObjectSection, MapWithoutMarkersHasFourZeroBytes) {
  const test::CompiledParts parts = test::compile_map(TgaBuilder(20, 20, {0, 152, 0}));
  EXPECT_EQ(parts.objects, Bytes(4, 0));
}

TEST(ObjectSection, RecordsHoldPositionKindParametersAndZeroReservedBytes) {
  TgaBuilder picture(300, 260);
  picture
      .set(299, 2, {200, 0xB6, 120})  // after the first one in row order
      .set(258, 1, {255, 255, 230})
      .set(3, 259, {77, 255, 140})
      .set(4, 259, {0xC5, 0xAB, 190});
  const test::CompiledParts parts = test::compile_map(picture);
  ASSERT_EQ(parts.objects.size(), 4u + 4 * 20);
  EXPECT_EQ(test::le32(parts.objects, 0), 4u);
  EXPECT_EQ(test::object_record(parts.objects, 0), record_bytes(258, 1, 0, {6, 15, 3, 63, 0}));
  EXPECT_EQ(test::object_record(parts.objects, 1), record_bytes(299, 2, 1, {72, 1, 2, 1, 11}));
  EXPECT_EQ(test::object_record(parts.objects, 2), record_bytes(3, 259, 3, {77, 0, 0, 0, 0}));
  EXPECT_EQ(test::object_record(parts.objects, 3), record_bytes(4, 259, 4, {5, 3, 0xAB, 0, 0}));
}

TEST(ObjectSection, BottomLeftMarkerIsOnTheLastRowInEitherRowOrder) {
  for (std::uint8_t descriptor : {0, 32}) {
    const test::CompiledParts parts =
        test::compile_map(TgaBuilder(5, 4).set(0, 3, {9, 0, 140}).descriptor(descriptor));
    ASSERT_EQ(parts.objects.size(), 24u) << "descriptor " << int{descriptor};
    EXPECT_EQ(test::object_record(parts.objects, 0), record_bytes(0, 3, 3, {9, 0, 0, 0, 0}))
        << "descriptor " << int{descriptor};
  }
}

TEST(ObjectSection, MarkersPastTheLimitAreDroppedButRepainted) {
  constexpr int kWidth = 40, kHeight = 30, kMarkers = 1100;
  TgaBuilder picture(kWidth, kHeight, {0, 152, 0});
  for (int i = 0; i < kMarkers; ++i) {
    picture.set(i % kWidth, i / kWidth, {std::uint8_t(i), 0, 140});
  }
  const test::CompiledParts parts = test::compile_map(picture);
  ASSERT_EQ(parts.objects.size(), 4u + 20 * 1024);
  EXPECT_EQ(test::le32(parts.objects, 0), 1024u);
  for (int i = 0; i < 1024; ++i) {
    ASSERT_EQ(test::object_record(parts.objects, static_cast<std::size_t>(i)),
              record_bytes(i % kWidth, i / kWidth, 3, {std::uint8_t(i), 0, 0, 0, 0}))
        << "record " << i;
  }
  // Every marker pixel, dropped ones included, became air: the first 1100
  // pixels are code 0, the rest basic land.
  const test::DecodedStream stream = test::decode_stream(parts.stream);
  const std::vector<int> codes = test::expand_runs(stream.runs);
  ASSERT_EQ(codes.size(), static_cast<std::size_t>(kWidth * kHeight));
  for (int i = 0; i < kWidth * kHeight; ++i) {
    ASSERT_EQ(codes[i], i < kMarkers ? 0 : 1) << "pixel " << i;
  }
}

// A noisy map's stream outgrows the level file's buffer and is on disk before
// the objects are known: the section goes in before it, the stream intact.
TEST(ObjectSection, GoesBeforeAStreamAlreadyWritten) {
  constexpr int kSize = 300;  // a run per pixel: 180,000 bytes of stream
  const Colour legal[] = {{0, 0, 0}, {0, 152, 0}, {255, 255, 255}, {0, 255, 255}};
  TgaBuilder noise(kSize, kSize);
  for (int i = 0; i < kSize * kSize; ++i) noise.set(i % kSize, i / kSize, legal[i % 4]);
  for (const int markers : {0, 1, 1024}) {
    TgaBuilder picture = noise;
    for (int i = 0; i < markers; ++i) {
      const int at = kSize * kSize - 1 - i * 37;  // from the last pixel back
      picture.set(at % kSize, at / kSize, {std::uint8_t(i), 0, 140});
    }
    const test::CompiledParts parts = test::compile_map(picture);
    EXPECT_EQ(parts.objects.size(), 4u + 20 * static_cast<std::size_t>(markers)) << markers;
    EXPECT_EQ(parts.stream, test::scan_map(picture).stream) << markers;
  }
}

TEST(ObjectSection, AdjacentMarkersPlaceAnObjectEach) {
  const test::CompiledParts parts =
      test::compile_map(TgaBuilder(4, 2).set(1, 1, {5, 0, 140}).set(2, 1, {6, 0, 140}));
  ASSERT_EQ(parts.objects.size(), 44u);
  EXPECT_EQ(test::object_record(parts.objects, 0), record_bytes(1, 1, 3, {5, 0, 0, 0, 0}));
  EXPECT_EQ(test::object_record(parts.objects, 1), record_bytes(2, 1, 3, {6, 0, 0, 0, 0}));
}

TEST(ObjectSection, RepaintedPixelsCountAsTheirNewCodes) {
  TgaBuilder picture(4, 1, {0, 255, 255});  // code 33
  picture.set(1, 0, {1, 0, 180}).set(2, 0, {2, 0, 180});
  const test::CompiledParts parts = test::compile_map(picture);
  EXPECT_EQ(test::decode_stream(parts.stream).runs,
            (std::vector<test::Run>{{33, 1}, {1, 1}, {0, 1}, {33, 1}}));
}

TEST(ObjectSection, WidestRowHoldsMarkersToItsLastColumn) {
  TgaBuilder picture(65535, 2);
  picture.set(65534, 0, {1, 0, 140}).set(65533, 1, {2, 0, 140}).set(65534, 1, {3, 0, 140});
  const test::CompiledParts parts = test::compile_map(picture.descriptor(0));
  ASSERT_EQ(parts.objects.size(), 64u);
  EXPECT_EQ(test::object_record(parts.objects, 0), record_bytes(65534, 0, 3, {1, 0, 0, 0, 0}));
  EXPECT_EQ(test::object_record(parts.objects, 1), record_bytes(65533, 1, 3, {2, 0, 0, 0, 0}));
  EXPECT_EQ(test::object_record(parts.objects, 2), record_bytes(65534, 1, 3, {3, 0, 0, 0, 0}));
}

TEST(ObjectSection, ConvertingLeavesTheAttributeMapFileUnchanged) {
  TempDir dir;
  TgaBuilder picture(20, 3);
  picture.set(0, 0, {1, 0, 180}).set(19, 2, {9, 9, 230}).set(7, 1, {0, 0, 120});
  test::write_level(dir, "level", picture);
  const Bytes before = dir.read("level.TGA");
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system());
  ASSERT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kSuccess);
  EXPECT_EQ(dir.read("level.TGA"), before);
}

}  // namespace
}  // namespace zur
