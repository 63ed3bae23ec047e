#include "engine/attrmap/palette.h"

namespace zur {
namespace {

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
    Slot& slot = slots[slot_of(colour_key(kPalette[code]), multiplier)];
    if (slot.code != kEmptySlot) return false;
    slot = {colour_key(kPalette[code]), static_cast<std::uint8_t>(code)};
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

}  // namespace

std::optional<std::uint8_t> classify_colour(const Rgb& colour) {
  const std::uint32_t key = colour_key(colour);
  const Slot& slot = kSlots[slot_of(key, kMultiplier)];
  if (slot.code == kEmptySlot || slot.colour != key) return std::nullopt;
  return slot.code;
}

}  // namespace zur
