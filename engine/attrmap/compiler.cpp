// SPDX-License-Identifier: MIT
#include "engine/attrmap/compiler.h"

#include <memory>
#include <new>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/map_pass.h"
#include "engine/attrmap/report.h"

namespace zur {
namespace {

ConversionResult compile(const MapHeader& header, MapBytes& map, LevelFile& out,
                         Conversion& conversion, std::size_t block_bytes) {
  RowSource rows(header, map, block_bytes);
  std::unique_ptr<MapFindings> findings(new (std::nothrow) MapFindings);
  if (!rows.ready() || !findings) return ConversionResult::kNotEnoughMemory;

  UserPrompts& prompts = conversion.prompts;
  prompts.set_progress(progress::kMapChecked);
  const std::uint64_t objects_at = reserve_object_section(out);
  PassProgress pass(prompts, conversion.clock, header.width, header.height);
  const ConversionResult scanned = scan_attribute_map(header, rows, *findings, out, pass);
  if (scanned != ConversionResult::kSuccess) return scanned;

  prompts.set_progress(progress::kObjectsPlaced);
  write_object_section(findings->objects, objects_at, out);
  // The stream is in the level file already; a level never committed is
  // discarded whole.
  if (findings->first_illegal &&
      !accept_illegal_colours(*findings->first_illegal, conversion.warnings, prompts)) {
    return ConversionResult::kIllegalColours;
  }
  prompts.set_progress(progress::kStreamPacked);

  // The report announces success, so the level must be in place before it.
  if (!out.commit()) return ConversionResult::kCannotAccessOutput;
  show_conversion_report({header.width, header.height, findings->objects.count, findings->packing},
                         conversion);
  return ConversionResult::kSuccess;
}

}  // namespace

ConversionResult compile_attribute_map(const std::string& map_path, LevelFile& out,
                                       Conversion& conversion, std::size_t block_bytes) {
  MapFile map(conversion.system);
  MapHeader header;
  const ConversionResult opened = open_attribute_map(map_path, map, header);
  if (opened != ConversionResult::kSuccess) return opened;
  return compile(header, map, out, conversion, block_bytes);
}

ConversionResult compile_attribute_map(std::span<const std::uint8_t> map_file, LevelFile& out,
                                       Conversion& conversion, std::size_t block_bytes) {
  MapMemory map(map_file);
  MapHeader header;
  const ConversionResult checked = read_map_header(map, header);
  if (checked != ConversionResult::kSuccess) return checked;
  return compile(header, map, out, conversion, block_bytes);
}

}  // namespace zur
