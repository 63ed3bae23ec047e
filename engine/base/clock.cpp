// SPDX-License-Identifier: MIT
#include "zur/clock.h"

#include <chrono>

namespace zur {

std::uint32_t monotonic_milliseconds() {
  const auto since_start = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count());
}

}  // namespace zur
