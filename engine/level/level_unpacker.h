// SPDX-License-Identifier: MIT
// Writes the sources that rebuild a level file: the config file, the
// attribute map (an uncompressed 24-bit TGA, bottom row first) with every
// object painted back as its marker pixel, and the pictures' bytes. The map
// is painted while the packed stream is decoded, a block of rows at a time,
// so memory stays small whatever the map's size.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/level/level_reader.h"

namespace zur {

// The files unpack_level writes, named by `prefix` (a path without
// extension): config, attribute map, then the pictures the level has.
std::vector<std::string> source_paths(const std::string& prefix, const LevelContents& contents);

enum class UnpackResult {
  kWritten,
  kUnsound,      // the contents name problems
  kSizeUnknown,  // no width gives the stream's pixel count
  kFileExists,   // `path` exists and overwriting was not asked for
  kWriteFailed,  // `path` could not be written; nothing is left behind
};

struct UnpackOutcome {
  UnpackResult result;
  std::string path;
};

// `contents` must have been read from `file`. Writes every file or none.
UnpackOutcome unpack_level(std::span<const std::uint8_t> file, const LevelContents& contents,
                           const std::string& prefix, bool overwrite);

}  // namespace zur
