// SPDX-License-Identifier: MIT
// The attribute palette: the 34 legal attribute map colours and the
// attribute code each stands for. Only exact colours are legal.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "zur/palette.h"

namespace zur {

namespace palette {
inline constexpr std::uint8_t kAir = 0;
inline constexpr std::uint8_t kBasicLand = 1;
}  // namespace palette

// The statistics line of the conversion report that counts a code.
enum class ReportGroup { kNone, kEmpty, kBasicLand, kWater, kRepairPlace };
inline constexpr std::array<ReportGroup, 4> kReportGroups = {
    ReportGroup::kEmpty, ReportGroup::kBasicLand, ReportGroup::kWater, ReportGroup::kRepairPlace};

// The group's name as its statistics line starts.
constexpr std::string_view report_group_name(ReportGroup group) {
  switch (group) {
    case ReportGroup::kEmpty:
      return "Empty";
    case ReportGroup::kBasicLand:
      return "Basic land";
    case ReportGroup::kWater:
      return "Water";
    case ReportGroup::kRepairPlace:
      return "Repair place";
    case ReportGroup::kNone:
      break;
  }
  return "Other";
}
// The report's hint that looks at a code.
enum class Hint { kNone, kAir, kIndestructibleWall, kRepair, kExplosive };

struct PaletteEntry {
  Rgb colour;
  ReportGroup group;
  Hint hint;
};

// Indexed by attribute code.
inline constexpr std::array<PaletteEntry, kAttributeCodes> kPalette = [] {
  using G = ReportGroup;
  using H = Hint;
  return std::array<PaletteEntry, kAttributeCodes>{{
      {{0, 0, 0}, G::kEmpty, H::kAir},
      {{0, 152, 0}, G::kBasicLand, H::kNone},
      {{126, 48, 59}, G::kNone, H::kNone},
      {{77, 77, 77}, G::kNone, H::kIndestructibleWall},
      {{168, 168, 168}, G::kRepairPlace, H::kRepair},
      {{160, 0, 0}, G::kNone, H::kExplosive},
      {{227, 0, 0}, G::kNone, H::kExplosive},
      {{255, 255, 255}, G::kNone, H::kNone},
      {{189, 120, 65}, G::kNone, H::kNone},
      {{133, 84, 45}, G::kNone, H::kNone},
      {{255, 169, 96}, G::kNone, H::kNone},
      {{0, 0, 200}, G::kWater, H::kNone},
      {{0, 0, 255}, G::kWater, H::kNone},
      {{50, 50, 200}, G::kWater, H::kNone},
      {{50, 50, 255}, G::kWater, H::kNone},
      {{100, 100, 200}, G::kWater, H::kNone},
      {{100, 100, 255}, G::kWater, H::kNone},
      {{150, 150, 200}, G::kWater, H::kNone},
      {{150, 150, 255}, G::kWater, H::kNone},
      {{50, 50, 0}, G::kNone, H::kNone},
      {{100, 100, 0}, G::kNone, H::kNone},
      {{150, 150, 0}, G::kNone, H::kNone},
      {{200, 200, 0}, G::kNone, H::kNone},
      {{250, 250, 0}, G::kNone, H::kNone},
      {{0, 152, 100}, G::kBasicLand, H::kNone},
      {{126, 48, 159}, G::kNone, H::kNone},
      {{160, 0, 100}, G::kNone, H::kNone},
      {{168, 168, 255}, G::kRepairPlace, H::kNone},
      {{168, 255, 156}, G::kRepairPlace, H::kNone},
      {{124, 178, 117}, G::kRepairPlace, H::kNone},
      {{86, 122, 81}, G::kRepairPlace, H::kNone},
      {{58, 78, 55}, G::kRepairPlace, H::kNone},
      {{0, 100, 0}, G::kNone, H::kNone},
      {{0, 255, 255}, G::kNone, H::kNone},
  }};
}();

// The colour of every 6-bit code a run token can hold; codes the palette
// lacks, which a sound stream does not hold, paint as air.
inline constexpr std::array<Rgb, 64> kCodeColours = [] {
  std::array<Rgb, 64> colours{};
  for (std::size_t code = 0; code < kPalette.size(); ++code) colours[code] = kPalette[code].colour;
  return colours;
}();

// The lookup table behind classify_colour: a multiplicative hash that gives
// every palette colour a slot of its own, found when the program is built.
namespace palette_detail {

constexpr std::uint8_t kEmptySlot = 0xFF;
constexpr unsigned kSlotBits = 8;

struct Slot {
  std::uint32_t colour = 0;
  std::uint8_t code = kEmptySlot;
};

using SlotTable = std::array<Slot, std::size_t{1} << kSlotBits>;

constexpr std::uint32_t colour_key(Rgb c) {
  return (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
}

constexpr std::size_t slot_of(std::uint32_t key, std::uint32_t multiplier) {
  return static_cast<std::uint32_t>(key * multiplier) >> (32 - kSlotBits);
}

constexpr bool fill_slots(std::uint32_t multiplier, SlotTable& slots) {
  slots = SlotTable{};
  for (std::size_t code = 0; code < kPalette.size(); ++code) {
    Slot& slot = slots[slot_of(colour_key(kPalette[code].colour), multiplier)];
    if (slot.code != kEmptySlot) return false;
    slot = {colour_key(kPalette[code].colour), static_cast<std::uint8_t>(code)};
  }
  return true;
}

// The first odd multiplier from the golden-ratio constant on that gives every
// palette colour a slot of its own.
constexpr std::uint32_t kMultiplier = [] {
  SlotTable slots;
  std::uint32_t multiplier = 0x9E3779B1u;
  while (!fill_slots(multiplier, slots)) multiplier += 2;
  return multiplier;
}();

constexpr SlotTable kSlots = [] {
  SlotTable slots;
  fill_slots(kMultiplier, slots);
  return slots;
}();

}  // namespace palette_detail

inline constexpr std::uint8_t kNotInPalette = palette_detail::kEmptySlot;

// Pixels counted by attribute code; any byte may index it.
using CodeCounts = std::array<std::int64_t, 256>;

// The attribute code of the colour with this key (red, green, blue from the
// high byte down), or kNotInPalette. Without branches, so that a whole row
// can be classified pixel by pixel. An empty slot's colour is black, which
// has a slot of its own, so it never matches.
inline std::uint8_t palette_code(std::uint32_t key) {
  using namespace palette_detail;
  const Slot& slot = kSlots[slot_of(key, kMultiplier)];
  return slot.colour == key ? slot.code : kNotInPalette;
}

// The attribute code of a colour, or nothing for an illegal colour. Constant
// time: one hash and one comparison.
inline std::optional<std::uint8_t> classify_colour(const Rgb& colour) {
  const std::uint8_t code = palette_code(palette_detail::colour_key(colour));
  if (code == kNotInPalette) return std::nullopt;
  return code;
}

}  // namespace zur
