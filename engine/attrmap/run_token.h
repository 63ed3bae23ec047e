// SPDX-License-Identifier: MIT
// The packed attribute stream's token: one run of 1 to 1023 pixels of one
// attribute code in a little-endian 16-bit number, the length's low two bits
// in bits 0-1, the code in bits 2-7 and the length's high eight bits in bits
// 8-15. The stream ends with the token FF FF, which no run can be.
#pragma once

#include <array>
#include <cstdint>

namespace zur {

inline constexpr std::uint32_t kMaxRunLength = 1023;
inline constexpr std::size_t kRunTokenSize = 2;
inline constexpr std::array<std::uint8_t, kRunTokenSize> kEndToken = {0xFF, 0xFF};

constexpr std::uint16_t run_token(std::uint8_t code, std::uint32_t length) {
  return static_cast<std::uint16_t>((length >> 2) << 8 | code << 2 | (length & 3));
}

struct Run {
  std::uint8_t code;
  std::uint32_t length;
};

constexpr Run run_of_token(std::uint16_t token) {
  return {static_cast<std::uint8_t>((token >> 2) & 63), (token >> 8) * 4u + (token & 3u)};
}

}  // namespace zur
