// SPDX-License-Identifier: MIT
// Keeps the user told, during the one pass over the attribute map, how far
// it is: a keep-alive call with the share of rows done, at least every
// 100 ms, so that a window stays alive through a long pass. The clock is read
// once every block of rows of about kPixelsPerReading pixels, never per pixel.
#pragma once

#include <cstdint>

#include "zur/clock.h"
#include "zur/prompts.h"

namespace zur {

class PassProgress {
 public:
  // Even the slowest rows (one run per pixel, in a sanitizer build) take
  // well under a millisecond for this many pixels.
  static constexpr std::int64_t kPixelsPerReading = 1 << 16;
  // Half the longest gap allowed, leaving room for the rows between two
  // readings.
  static constexpr std::uint32_t kIntervalMs = 50;

  // `prompts` and `clock` must outlive it. The pass starts now.
  PassProgress(UserPrompts& prompts, const MillisecondClock& clock, std::int32_t width,
               std::int32_t height);

  // After each row, in order.
  void row_done() {
    ++rows_done_;
    if (--rows_until_reading_ == 0) read_clock();
  }

 private:
  void read_clock();

  UserPrompts& prompts_;
  const MillisecondClock& clock_;
  std::int32_t height_;
  std::int32_t rows_per_reading_;
  std::int32_t rows_until_reading_;
  std::int32_t rows_done_ = 0;
  std::uint32_t last_call_ms_;
};

}  // namespace zur
