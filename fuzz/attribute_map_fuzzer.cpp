// SPDX-License-Identifier: MIT
// Fuzzes the attribute map compiler on TGA files in memory: the header
// checks, the row source, the one pass over the rows (markers, colours,
// runs), the object section and the report. Blocks of a size taken from the
// input's length put block ends at every place in the rows.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/attrmap/compiler.h"
#include "engine/conversion/conversion.h"
#include "engine/conversion/level_file.h"
#include "fuzz/fuzz_prompts.h"

namespace {

constexpr const char* kLevelPath = "/dev/shm/zur-fuzz-attribute-map.lev";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zur::fuzz::AnsweringPrompts prompts;
  zur::Conversion conversion(prompts, zur::platform::default_system(), [] { return 0u; });
  {
    zur::LevelFile out(zur::platform::default_system());
    if (out.open(kLevelPath) != zur::ConversionResult::kSuccess) return 0;
    zur::compile_attribute_map(std::span(data, size), out, conversion, 1 + size % 97);
  }
  ::unlink(kLevelPath);
  return 0;
}
