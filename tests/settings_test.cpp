// SPDX-License-Identifier: MIT
#include "engine/conversion/settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

namespace zur {
namespace {

// Every byte of the record that a reset sets to something other than zero.
std::map<std::size_t, std::uint8_t> default_bytes() {
  std::map<std::size_t, std::uint8_t> bytes;
  const std::string maker = "Anonymous";
  for (std::size_t i = 0; i < maker.size(); ++i) bytes[i] = static_cast<std::uint8_t>(maker[i]);
  bytes[270] = '*';  // GGTHEME
  bytes[257] = 10;   // CIVIL
  bytes[258] = 10;   // BOMB
  bytes[259] = 80;   // WATERC
  bytes[260] = 90;
  bytes[261] = 170;
  bytes[263] = 100;   // GRAVITY
  bytes[264] = 100;   // RESISTANCE
  bytes[265] = 100;   // COLLDAMAGE
  bytes[266] = 100;   // BOUNCING
  bytes[398] = 1;     // GGSHAPE
  bytes[399] = 10;    // REPAIR
  bytes[400] = 10;    // STUFFD
  bytes[401] = 10;    // SIGND
  bytes[404] = 0x39;  // RANDOMSEED 12345, little-endian
  bytes[405] = 0x30;
  return bytes;
}

void expect_defaults(const LevelSettings& settings, const char* when) {
  const std::map<std::size_t, std::uint8_t> defaults = default_bytes();
  for (std::size_t offset = 0; offset < LevelSettings::kSize; ++offset) {
    const auto it = defaults.find(offset);
    const std::uint8_t expected = it == defaults.end() ? 0 : it->second;
    EXPECT_EQ(settings.bytes()[offset], expected) << when << ": byte at offset " << offset;
  }
}

TEST(LevelSettings, NewRecordHoldsTheDefaultsAndZeroElsewhere) {
  expect_defaults(LevelSettings(), "new record");
  EXPECT_FALSE(LevelSettings().para());
  EXPECT_FALSE(LevelSettings().gg_level());
  EXPECT_EQ(LevelSettings().sign_count(), 0u);
}

TEST(LevelSettings, ResetClearsWhatAnEarlierConversionLeft) {
  LevelSettings settings;
  for (std::size_t offset = 0; offset < LevelSettings::kSize; ++offset) {
    settings.at(offset)[0] = 0xAB;
  }
  settings.reset_to_defaults();
  expect_defaults(settings, "after reset");
}

TEST(KeywordTable, KeywordsInIndexOrderWithTheirFields) {
  // Offsets are those of the level file format, so they are written out here.
  const struct {
    const char* name;
    ValueKind kind;
    std::size_t offset;
    std::size_t size;
  } expected[kKeywordCount] = {
      {"MAKER", ValueKind::Text, 0, 128},          {"EMAIL", ValueKind::Text, 128, 128},
      {"PARA", ValueKind::YesNo, 256, 1},          {"CIVIL", ValueKind::Integer, 257, 1},
      {"BOMB", ValueKind::Integer, 258, 1},        {"WATERC", ValueKind::IntegerTriple, 259, 3},
      {"DISABLERUN", ValueKind::YesNo, 262, 1},    {"GRAVITY", ValueKind::Tenths, 263, 1},
      {"RESISTANCE", ValueKind::Tenths, 264, 1},   {"COLLDAMAGE", ValueKind::Tenths, 265, 1},
      {"BOUNCING", ValueKind::Tenths, 266, 1},     {"AMBIENT", ValueKind::Integer, 267, 1},
      {"PARALLAXAT", ValueKind::Integer, 268, 1},  {"GGLEVEL", ValueKind::YesNo, 269, 1},
      {"GGTHEME", ValueKind::Text, 270, 128},      {"GGSHAPE", ValueKind::YesNo, 398, 1},
      {"REPAIR", ValueKind::Integer, 399, 1},      {"STUFFD", ValueKind::Integer, 400, 1},
      {"SIGND", ValueKind::Integer, 401, 1},       {"RANDOMSEED", ValueKind::Integer, 404, 4},
      {"SIGNTEXT1", ValueKind::SignText, 408, 32}, {"SIGNTEXT2", ValueKind::SignPair, 408, 32},
  };
  for (std::size_t i = 0; i < kKeywordCount; ++i) {
    EXPECT_EQ(kKeywords[i].name, expected[i].name) << "index " << i;
    EXPECT_EQ(kKeywords[i].kind, expected[i].kind) << expected[i].name;
    EXPECT_EQ(kKeywords[i].offset, expected[i].offset) << expected[i].name;
    EXPECT_EQ(kKeywords[i].size, expected[i].size) << expected[i].name;
  }
}

TEST(IntegerField, OneByteKeepsTheLowBitsFourBytesTheWholeNumber) {
  const struct {
    std::int32_t value;
    std::size_t size;
    std::int32_t stored;
    std::uint8_t first_byte;
  } cases[] = {
      {300, 1, 44, 44},
      {-1, 1, 255, 255},
      {255, 1, 255, 255},
      {-1, 4, -1, 0xFF},
      {0x01020304, 4, 0x01020304, 0x04},
      {INT32_MIN, 4, INT32_MIN, 0},
  };
  for (const auto& c : cases) {
    std::uint8_t field[5] = {0, 0, 0, 0, 0xAA};
    put_integer(field, c.size, c.value);
    EXPECT_EQ(get_integer(field, c.size), c.stored) << c.value << " in " << c.size;
    EXPECT_EQ(stored_integer(c.value, c.size), c.stored) << c.value << " in " << c.size;
    EXPECT_EQ(field[0], c.first_byte) << c.value << " in " << c.size;
    EXPECT_EQ(field[c.size], c.size == 4 ? 0xAA : 0) << "wrote past " << c.size << " bytes";
  }
}

TEST(LevelSettings, SignCountIsAFourByteNumber) {
  LevelSettings settings;
  settings.set_sign_count(16);
  EXPECT_EQ(settings.sign_count(), 16u);
  EXPECT_EQ(settings.bytes()[920], 16);
  EXPECT_EQ(settings.bytes()[921], 0);
  EXPECT_EQ(settings.bytes()[922], 0);
  EXPECT_EQ(settings.bytes()[923], 0);
}

}  // namespace
}  // namespace zur
