#include "engine/attrmap/map_pass.h"

#include <cstdio>

#include "engine/attrmap/row_classifier.h"

namespace zur {

ConversionResult scan_attribute_map(const MapHeader& header, RowSource& rows,
                                    MapFindings& findings) {
  AttributePacker packer(findings.stream);
  for (std::int32_t y = 0; y < header.height; ++y) {
    const std::uint8_t* row = rows.next_row();
    if (row == nullptr) return ConversionResult::kAttributeMapMissing;
    classify_row(row, header.width,
                 [&](std::int32_t x, std::int32_t length, const Rgb& colour, PixelClass pixel) {
                   if (pixel.marker != nullptr) {
                     place_markers(*pixel.marker, colour, x, y, length, findings.objects);
                   } else if (!pixel.legal && !findings.first_illegal) {
                     findings.first_illegal = IllegalPixel{colour, x, y};
                   }
                   packer.add(pixel.code, static_cast<std::uint32_t>(length));
                 });
  }
  packer.finish();
  findings.packing = packer.stats();
  return findings.stream.good() ? ConversionResult::kSuccess : ConversionResult::kNotEnoughMemory;
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
