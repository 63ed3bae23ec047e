// SPDX-License-Identifier: MIT
// Fuzz target for the level file reader: any bytes are read without a read
// outside them, and the stream of a file the reader calls sound decodes to
// the pixels the reader counted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "engine/attrmap/run_token.h"
#include "engine/base/byte_order.h"
#include "engine/level/level_reader.h"

namespace {

void expect_stream_decodes(std::span<const std::uint8_t> file, const zur::LevelContents& level) {
  const std::span<const std::uint8_t> stream = zur::stream_bytes(file, level);
  if (stream.size() != (level.stream->tokens + 1) * zur::kRunTokenSize) std::abort();
  std::uint64_t pixels = 0;
  for (std::size_t at = 0; at + zur::kRunTokenSize < stream.size(); at += zur::kRunTokenSize) {
    pixels += zur::run_of_token(zur::get_le16(&stream[at])).length;
  }
  if (pixels != level.stream->pixels) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const zur::LevelContents contents = zur::read_level(file);
  if (contents.problems.empty() && contents.stream && contents.stream->ended) {
    expect_stream_decodes(file, contents);
  }
  // Read again with the width the user might give, which changes the checks
  // on objects and the map size.
  if (contents.stream && contents.stream->pixels > 0) {
    zur::ReadOptions options;
    options.width = static_cast<std::uint32_t>(1 + contents.stream->pixels % 300);
    zur::read_level(file, options);
  }
  return 0;
}
