// SPDX-License-Identifier: MIT
// The millisecond clock that times a conversion. Readings are unsigned 32-bit
// and wrap; differences taken in unsigned 32-bit arithmetic stay right across
// a wrap.
#pragma once

#include <cstdint>
#include <functional>

namespace zur {

using MillisecondClock = std::function<std::uint32_t()>;

// A monotonic clock, unaffected by changes of the wall-clock time.
std::uint32_t monotonic_milliseconds();

}  // namespace zur
