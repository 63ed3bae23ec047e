// SPDX-License-Identifier: MIT
#include "engine/attrmap/map_pass.h"

#include <cstdio>
#include <numeric>
#include <vector>

#include "engine/attrmap/row_classifier.h"

namespace zur {

namespace {

// Rows whose runs averaged fewer pixels than this are classified pixel by
// pixel: walking runs costs a few nanoseconds per run, and a run per pixel
// is the worst case. The row before decides, as neighbouring rows are alike.
constexpr std::int64_t kShortRunPixels = 4;

std::int32_t runs_of_codes(const std::uint8_t* codes, std::int32_t width) {
  std::int32_t runs = 1;
  for (std::int32_t x = 1; x < width; ++x) runs += codes[x] != codes[x - 1];
  return runs;
}

}  // namespace

ConversionResult scan_attribute_map(const MapHeader& header, RowSource& rows, MapFindings& findings,
                                    LevelFile& out, PassProgress& progress) {
  AttributePacker packer(out);
  CodeCounts& counts = findings.packing.histogram;
  std::vector<std::uint8_t> codes(static_cast<std::size_t>(header.width));
  std::int64_t runs = 0;  // in the row before
  for (std::int32_t y = 0; y < header.height; ++y) {
    const std::uint8_t* row = rows.next_row();
    if (row == nullptr) return ConversionResult::kAttributeMapMissing;
    if (runs * kShortRunPixels > header.width &&
        palette_row_codes(row, header.width, codes.data(), counts)) {
      packer.add_codes(codes.data(), codes.size());
      runs = runs_of_codes(codes.data(), header.width);
    } else {
      runs = 0;
      classify_row(row, header.width,
                   [&](std::int32_t x, std::int32_t length, const Rgb& colour, PixelClass pixel) {
                     if (pixel.marker != nullptr) {
                       place_markers(*pixel.marker, colour, x, y, length, findings.objects);
                     } else if (!pixel.legal && !findings.first_illegal) {
                       findings.first_illegal = IllegalPixel{colour, x, y};
                     }
                     packer.add(pixel.code, static_cast<std::uint32_t>(length));
                     counts[pixel.code] += length;
                     ++runs;
                   });
    }
    progress.row_done();
  }
  packer.finish();
  findings.packing.packed = packer.packed_bytes();
  findings.packing.unpacked = std::accumulate(counts.begin(), counts.end(), std::int64_t{0});
  return ConversionResult::kSuccess;
}

bool accept_illegal_colours(const IllegalPixel& first, WarningList& warnings,
                            UserPrompts& prompts) {
  warnings.append(warning::kIllegalColours);
  char question[256];
  std::snprintf(question, sizeof question,
                "Illegal color (red:%d, green:%d, blue:%d)\nat coordinates: x=%d y=%d\n"
                "Do you want to continue anyway?\n(all illegal colors will be \"air\")",
                first.colour.red, first.colour.green, first.colour.blue, first.x, first.y);
  return prompts.ask_yes_no(question, Icon::None, Question::IllegalColour);
}

}  // namespace zur
