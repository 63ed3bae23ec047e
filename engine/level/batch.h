// SPDX-License-Identifier: MIT
// The conversion batch: the text of the prefix field split into level
// prefixes, each converted by its own job. The converter keeps the last job's
// warnings, settings and found flags readable until the next job.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/level/shared/conversion.h"
#include "engine/level/shared/result.h"

namespace zur {

// The items of a batch text: split at every "|", white space trimmed from
// both ends of each item. Empty items are kept; an empty text is one item.
std::vector<std::string> split_batch(std::string_view text);

class Converter {
 public:
  explicit Converter(UserPrompts& prompts, MillisecondClock clock = monotonic_milliseconds);

  // Runs one job per item of `text`, in order, whatever the earlier ones
  // gave; returns their results.
  std::vector<ConversionResult> run_batch(std::string_view text);

  // Converts one level into prefix + ".lev", shows the result's message and
  // leaves the progress bar at 0. A failed conversion leaves no level file
  // behind.
  ConversionResult run_job(std::string_view prefix);
  // The same, writing the level file to `level_file` instead.
  ConversionResult run_job(std::string_view prefix, std::string level_file);

  const Conversion& last() const { return conversion_; }

 private:
  Conversion conversion_;
};

}  // namespace zur
