// SPDX-License-Identifier: MIT
// The level settings record: the 924-byte parameter block stored in every
// level file header, its keyword table and the found flags that tell which
// keywords the config file gave. The record's bytes are the file format, so
// fields are addressed by offset.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/base/byte_order.h"

namespace zur {

enum class ValueKind { Text, YesNo, Integer, IntegerTriple, Tenths, SignText, SignPair };

struct Keyword {
  std::string_view name;  // upper case, as written after the "/"
  ValueKind kind;
  std::size_t offset;  // of the field in the record; unused by sign keywords
  std::size_t size;    // the bytes the value fills; a sign fills a slot of the sign table
};

inline constexpr std::size_t kKeywordCount = 22;
// Keywords 0 to 19 are expected once each; the two sign keywords may repeat.
inline constexpr std::size_t kCountedKeywords = 20;

namespace field {
inline constexpr std::size_t kMaker = 0;
inline constexpr std::size_t kEmail = 128;
inline constexpr std::size_t kPara = 256;
inline constexpr std::size_t kCivil = 257;
inline constexpr std::size_t kBomb = 258;
inline constexpr std::size_t kWaterColour = 259;
inline constexpr std::size_t kDisableRun = 262;
inline constexpr std::size_t kGravity = 263;
inline constexpr std::size_t kResistance = 264;
inline constexpr std::size_t kCollDamage = 265;
inline constexpr std::size_t kBouncing = 266;
inline constexpr std::size_t kAmbient = 267;
inline constexpr std::size_t kParallaxAt = 268;
inline constexpr std::size_t kGgLevel = 269;
inline constexpr std::size_t kGgTheme = 270;
inline constexpr std::size_t kGgShape = 398;
inline constexpr std::size_t kRepair = 399;
inline constexpr std::size_t kStuffD = 400;
inline constexpr std::size_t kSignD = 401;
inline constexpr std::size_t kRandomSeed = 404;
inline constexpr std::size_t kSignTable = 408;
inline constexpr std::size_t kSignCount = 920;

inline constexpr std::size_t kTextSize = 128;
inline constexpr std::size_t kSignSlotSize = 32;
inline constexpr std::size_t kSignHalfSize = 16;
inline constexpr std::size_t kSignSlots = 16;
}  // namespace field

inline constexpr std::array<Keyword, kKeywordCount> kKeywords = {{
    {"MAKER", ValueKind::Text, field::kMaker, field::kTextSize},
    {"EMAIL", ValueKind::Text, field::kEmail, field::kTextSize},
    {"PARA", ValueKind::YesNo, field::kPara, 1},
    {"CIVIL", ValueKind::Integer, field::kCivil, 1},
    {"BOMB", ValueKind::Integer, field::kBomb, 1},
    {"WATERC", ValueKind::IntegerTriple, field::kWaterColour, 3},
    {"DISABLERUN", ValueKind::YesNo, field::kDisableRun, 1},
    {"GRAVITY", ValueKind::Tenths, field::kGravity, 1},
    {"RESISTANCE", ValueKind::Tenths, field::kResistance, 1},
    {"COLLDAMAGE", ValueKind::Tenths, field::kCollDamage, 1},
    {"BOUNCING", ValueKind::Tenths, field::kBouncing, 1},
    {"AMBIENT", ValueKind::Integer, field::kAmbient, 1},
    {"PARALLAXAT", ValueKind::Integer, field::kParallaxAt, 1},
    {"GGLEVEL", ValueKind::YesNo, field::kGgLevel, 1},
    {"GGTHEME", ValueKind::Text, field::kGgTheme, field::kTextSize},
    {"GGSHAPE", ValueKind::YesNo, field::kGgShape, 1},
    {"REPAIR", ValueKind::Integer, field::kRepair, 1},
    {"STUFFD", ValueKind::Integer, field::kStuffD, 1},
    {"SIGND", ValueKind::Integer, field::kSignD, 1},
    {"RANDOMSEED", ValueKind::Integer, field::kRandomSeed, 4},
    {"SIGNTEXT1", ValueKind::SignText, field::kSignTable, field::kSignSlotSize},
    {"SIGNTEXT2", ValueKind::SignPair, field::kSignTable, field::kSignSlotSize},
}};

// An integer field is one byte, the value's low 8 bits, or four bytes, the
// whole value little-endian and read back signed.
inline void put_integer(std::uint8_t* at, std::size_t size, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  if (size == 4) {
    put_le32(at, bits);
  } else {
    *at = static_cast<std::uint8_t>(bits);
  }
}

inline std::int32_t get_integer(const std::uint8_t* at, std::size_t size) {
  return size == 4 ? static_cast<std::int32_t>(get_le32(at)) : *at;
}

// What an integer field of `size` bytes gives back for `value`.
inline std::int32_t stored_integer(std::int32_t value, std::size_t size) {
  std::uint8_t bytes[4] = {};
  put_integer(bytes, size, value);
  return get_integer(bytes, size);
}

// One flag per keyword index: true when the last config file read gave an
// accepted value for it. The sign keywords are always true.
using FoundFlags = std::array<bool, kKeywordCount>;

class LevelSettings {
 public:
  static constexpr std::size_t kSize = 924;

  LevelSettings() { reset_to_defaults(); }

  // Clears every byte, then writes the defaults, so that nothing of an
  // earlier conversion reaches the next level file.
  void reset_to_defaults();

  bool para() const { return bytes_[field::kPara] != 0; }
  bool gg_level() const { return bytes_[field::kGgLevel] != 0; }
  std::size_t sign_count() const { return bytes_[field::kSignCount]; }
  void set_sign_count(std::size_t count) {
    bytes_[field::kSignCount] = static_cast<std::uint8_t>(count);
  }

  std::uint8_t* at(std::size_t offset) { return bytes_.data() + offset; }
  const std::array<std::uint8_t, kSize>& bytes() const { return bytes_; }

 private:
  std::array<std::uint8_t, kSize> bytes_{};
};

}  // namespace zur
