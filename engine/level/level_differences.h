// SPDX-License-Identifier: MIT
// What sources unpacked from a level file will not give back exactly: bytes
// that no config file, no marker pixel or no packing of the stream that the
// converter makes reproduces, each named with its byte offset in the level
// file. Works on what the level reader found, not on the file's bytes.
#pragma once

#include "engine/level/level_reader.h"

namespace zur {

// Fills `level.differences`: the settings' differences, moved out of
// `level.settings`, then those of the sections, the stream, the map size and
// the objects.
void add_differences(LevelContents& level);

}  // namespace zur
