// SPDX-License-Identifier: MIT
// The one pass over the attribute map's rows: every marker pixel becomes an
// object record, every pixel's code goes into the packed stream, written to
// the level file as it is made, and the first illegal pixel is remembered.
// The user is asked about it only after the object section is written, as
// if the passes had been two.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/attrmap/attribute_stream.h"
#include "engine/attrmap/map_objects.h"
#include "engine/attrmap/palette.h"
#include "engine/attrmap/pass_progress.h"
#include "engine/attrmap/row_source.h"
#include "engine/conversion/result.h"
#include "engine/conversion/warnings.h"
#include "zur/prompts.h"

namespace zur {

struct IllegalPixel {
  Rgb colour;
  std::int32_t x, y;  // y counted from the top row
};

// What the pass found. Large (the object table) and long-lived: allocate it.
struct MapFindings {
  ObjectTable objects;
  PackStats packing;
  std::optional<IllegalPixel> first_illegal;
};

// Reads every row of `rows` once and appends the packed stream, end token
// included, to `out`, telling `progress` of each row.
// ConversionResult::kAttributeMapMissing when a row cannot be read; kSuccess
// otherwise, illegal pixels packed as air.
ConversionResult scan_attribute_map(const MapHeader& header, RowSource& rows, MapFindings& findings,
                                    LevelFile& out, PassProgress& progress);

// Warns and asks whether to go on with illegal colours as air; true for yes.
bool accept_illegal_colours(const IllegalPixel& first, WarningList& warnings, UserPrompts& prompts);

}  // namespace zur
