// SPDX-License-Identifier: MIT
// Little-endian reads and writes: every multi-byte number in a level file or
// an attribute map is stored low byte first.
#pragma once

#include <bit>
#include <cstdint>

namespace zur {

inline void put_le16(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void put_le32(std::uint8_t* at, std::uint32_t value) {
  put_le16(at, static_cast<std::uint16_t>(value));
  put_le16(at + 2, static_cast<std::uint16_t>(value >> 16));
}

// The value whose bytes in memory are `value` stored low byte first, so that
// an array of them can be written out as it is.
constexpr std::uint16_t in_le16_order(std::uint16_t value) {
  if constexpr (std::endian::native == std::endian::little) return value;
  return static_cast<std::uint16_t>(value >> 8 | value << 8);
}

inline std::uint16_t get_le16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

inline std::uint32_t get_le32(const std::uint8_t* at) {
  return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
         std::uint32_t{at[3]} << 24;
}

}  // namespace zur
