// Fuzzes the attribute map compiler on TGA files in memory: the reader's
// checks, pass 1 (object markers) and pass 2 (colours packed into runs).
// The packed level goes to an unnamed temporary file that is never kept.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/attribute_stream.h"
#include "engine/attrmap/map_objects.h"
#include "engine/level/level_file.h"
#include "fuzz/fuzz_prompts.h"

namespace zur {
namespace {

// The compiler's passes over the bytes of a TGA file, without the report.
void compile_from_memory(std::span<const std::uint8_t> file, LevelFile& out) {
  AttributeMap map;
  if (parse_attribute_map(file, map) != ConversionResult::kSuccess) return;
  auto objects = std::make_unique<ObjectTable>();
  place_map_objects(map, *objects);
  write_object_section(*objects, out);
  fuzz::AnsweringPrompts prompts;
  WarningList warnings;
  PackStats stats;
  pack_attribute_map(map, out, warnings, prompts, stats);
}

}  // namespace
}  // namespace zur

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zur::LevelFile out;
  if (out.open("/dev/shm/zur-fuzz-never-kept.lev") != zur::ConversionResult::kSuccess) return 0;
  zur::compile_from_memory({data, size}, out);
  return 0;
}
