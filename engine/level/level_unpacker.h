// SPDX-License-Identifier: MIT
// Writes the sources that rebuild a level file: the config file, the
// attribute map (an uncompressed 24-bit TGA, bottom row first) with every
// object painted back as its marker pixel, and the pictures' bytes. The map
// is painted while the packed stream is decoded, a block of rows at a time,
// so memory stays small whatever the map's size.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/base/error.h"
#include "engine/base/platform.h"
#include "engine/level/level_reader.h"

namespace zur {

// The files unpack_level writes, named by `prefix` (a path without
// extension): config, attribute map, then the pictures the level has.
std::vector<std::string> source_paths(const std::string& prefix, const LevelContents& contents);

struct Unpacked {
  Status status;
  // The files put in place, in the order of source_paths: all of them, or,
  // after a failure, those put in place before it (normally none).
  std::vector<std::string> written;
};

// Writes the sources of the level read from `file` (as `contents`, which
// must be sound and know the map's size) under `prefix`, each as an output
// file that is none of the others nor `level_file`. Every file is written to
// its temporary file first and put in place only when all are complete, so a
// failure before that leaves every existing file as it was. Without
// `overwrite`, an existing source is never overwritten, even one that
// appears meanwhile. The files are written through `system`.
Unpacked unpack_level(std::span<const std::uint8_t> file, const LevelContents& contents,
                      const std::string& prefix, bool overwrite, const std::string& level_file,
                      platform::System& system);

// The prefix the sources of the level file `level` are unpacked under: its
// name without ".lev" (in any letter case), in `folder`, or beside it when
// `folder` is empty.
std::string unpack_prefix(const std::string& level, const std::string& folder);

}  // namespace zur
