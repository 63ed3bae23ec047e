#include "engine/attrmap/compiler.h"

#include <memory>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/attribute_stream.h"
#include "engine/attrmap/map_objects.h"
#include "engine/attrmap/report.h"

namespace zur {

ConversionResult compile_attribute_map(const std::string& map_path, LevelFile& out,
                                       Conversion& conversion) {
  AttributeMap map;
  const ConversionResult read = read_attribute_map(map_path, map);
  if (read != ConversionResult::kSuccess) return read;

  UserPrompts& prompts = conversion.prompts;
  prompts.set_progress(progress::kMapChecked);
  auto objects = std::make_unique<ObjectTable>();
  place_map_objects(map, *objects);

  prompts.set_progress(progress::kObjectsPlaced);
  write_object_section(*objects, out);

  MapFacts facts{map.width, map.height, objects->count, {}};
  const ConversionResult packed =
      pack_attribute_map(map, out, conversion.warnings, prompts, facts.packing);
  if (packed != ConversionResult::kSuccess) return packed;
  prompts.set_progress(progress::kStreamPacked);

  // The report announces success, so the level must be in place before it.
  if (!out.commit()) return ConversionResult::kCannotAccessOutput;
  show_conversion_report(facts, conversion);
  return ConversionResult::kSuccess;
}

}  // namespace zur
