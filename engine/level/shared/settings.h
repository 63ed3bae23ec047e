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

namespace zur {

enum class ValueKind { Text, YesNo, Integer, IntegerTriple, Tenths, SignText, SignPair };

struct Keyword {
  std::string_view name;  // upper case, as written after the "/"
  ValueKind kind;
  std::size_t offset;  // of the field in the record; unused by sign keywords
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
    {"MAKER", ValueKind::Text, field::kMaker},
    {"EMAIL", ValueKind::Text, field::kEmail},
    {"PARA", ValueKind::YesNo, field::kPara},
    {"CIVIL", ValueKind::Integer, field::kCivil},
    {"BOMB", ValueKind::Integer, field::kBomb},
    {"WATERC", ValueKind::IntegerTriple, field::kWaterColour},
    {"DISABLERUN", ValueKind::YesNo, field::kDisableRun},
    {"GRAVITY", ValueKind::Tenths, field::kGravity},
    {"RESISTANCE", ValueKind::Tenths, field::kResistance},
    {"COLLDAMAGE", ValueKind::Tenths, field::kCollDamage},
    {"BOUNCING", ValueKind::Tenths, field::kBouncing},
    {"AMBIENT", ValueKind::Integer, field::kAmbient},
    {"PARALLAXAT", ValueKind::Integer, field::kParallaxAt},
    {"GGLEVEL", ValueKind::YesNo, field::kGgLevel},
    {"GGTHEME", ValueKind::Text, field::kGgTheme},
    {"GGSHAPE", ValueKind::YesNo, field::kGgShape},
    {"REPAIR", ValueKind::Integer, field::kRepair},
    {"STUFFD", ValueKind::Integer, field::kStuffD},
    {"SIGND", ValueKind::Integer, field::kSignD},
    {"RANDOMSEED", ValueKind::Integer, field::kRandomSeed},
    {"SIGNTEXT1", ValueKind::SignText, field::kSignTable},
    {"SIGNTEXT2", ValueKind::SignPair, field::kSignTable},
}};

// The bytes a keyword's value fills; the two sign keywords fill a slot of the
// sign table.
constexpr std::size_t field_size(const Keyword& keyword) {
  switch (keyword.kind) {
    case ValueKind::Text:
      return field::kTextSize;
    case ValueKind::IntegerTriple:
      return 3;
    case ValueKind::SignText:
    case ValueKind::SignPair:
      return field::kSignSlotSize;
    case ValueKind::Integer:
      return keyword.offset == field::kRandomSeed ? 4 : 1;
    case ValueKind::YesNo:
    case ValueKind::Tenths:
      break;
  }
  return 1;
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
