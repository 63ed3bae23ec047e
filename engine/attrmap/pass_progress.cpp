// SPDX-License-Identifier: MIT
#include "engine/attrmap/pass_progress.h"

#include <algorithm>

namespace zur {

PassProgress::PassProgress(UserPrompts& prompts, const MillisecondClock& clock, std::int32_t width,
                           std::int32_t height)
    : prompts_(prompts),
      clock_(clock),
      height_(height),
      rows_per_reading_(static_cast<std::int32_t>(
          std::max<std::int64_t>(1, kPixelsPerReading / std::max<std::int32_t>(width, 1)))),
      rows_until_reading_(rows_per_reading_),
      last_call_ms_(clock()) {}

void PassProgress::read_clock() {
  rows_until_reading_ = rows_per_reading_;
  const std::uint32_t now = clock_();
  if (now - last_call_ms_ < kIntervalMs) return;
  last_call_ms_ = now;
  prompts_.keep_alive(static_cast<double>(rows_done_) / height_);
}

}  // namespace zur
