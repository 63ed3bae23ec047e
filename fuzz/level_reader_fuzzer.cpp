// SPDX-License-Identifier: MIT
// Fuzz target for the level file reader: any bytes are read without a read
// outside them, and a file the reader calls sound unpacks its stream.
#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/level/level_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const zur::LevelContents contents = zur::read_level(file);
  // Read again with the width the user might give, which changes the checks
  // on objects and the map size.
  if (contents.stream && contents.stream->pixels > 0) {
    zur::ReadOptions options;
    options.width = static_cast<std::uint32_t>(1 + contents.stream->pixels % 300);
    zur::read_level(file, options);
  }
  return 0;
}
