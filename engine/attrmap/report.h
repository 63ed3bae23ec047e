// SPDX-License-Identifier: MIT
// The conversion report, shown after a successful conversion: completion
// and warnings, statistics on request (packing, memory, objects, shares of
// the main attribute groups, time, config keywords not given), and hints
// when the level's make-up looks odd. It changes nothing and cannot fail.
#pragma once

#include <cstdint>
#include <string>

#include "engine/attrmap/attribute_stream.h"
#include "engine/conversion/conversion.h"

namespace zur {

struct MapFacts {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::size_t objects = 0;
  PackStats packing;
};

// Estimated megabytes the game needs for a map of this size.
float memory_estimate_megabytes(std::int32_t width, std::int32_t height);

// The statistics text, missing-keyword block included, for a conversion
// that took `seconds`.
std::string statistics_text(const MapFacts& facts, const FoundFlags& found, std::uint32_t seconds);

void show_conversion_report(const MapFacts& facts, const Conversion& conversion);

}  // namespace zur
