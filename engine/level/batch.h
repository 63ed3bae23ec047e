// SPDX-License-Identifier: MIT
// The conversion job, and behind the public interface (zur/convert.h) the
// batch that runs one job per level. The converter keeps the last job's
// warnings, settings and found flags readable until the next job.
#pragma once

#include <string>
#include <string_view>

#include "engine/conversion/conversion.h"
#include "engine/conversion/result.h"
#include "engine/level/level_prefix.h"

namespace zur {

class Converter {
 public:
  // Reads and writes the levels' files through `system`.
  Converter(UserPrompts& prompts, platform::System& system,
            MillisecondClock clock = monotonic_milliseconds);

  // Converts one level into prefix + ".lev", shows the result's message
  // (with the system's reasons for a failure that has them) and leaves the
  // progress bar at 0. A failed conversion leaves no level file behind.
  ConversionResult run_job(std::string_view prefix);
  // The same, writing the level file to `level_file` instead; the level may
  // be named by its config file (level_prefix.h).
  ConversionResult run_job(const NamedLevel& level, std::string level_file);

  const Conversion& last() const { return conversion_; }

 private:
  Conversion conversion_;
};

}  // namespace zur
