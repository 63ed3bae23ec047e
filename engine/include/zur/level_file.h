// SPDX-License-Identifier: MIT
// Looking inside a level file without trusting it, and turning it back into
// the sources that rebuild it. Every offset and count of the file is checked
// against its length; what is wrong is named with its byte offset.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "zur/error.h"
#include "zur/palette.h"
#include "zur/row_sink.h"
#include "zur/system.h"

namespace zur {

// What zurlev info tells of one file: the header, the settings, the
// pictures, the objects, the attribute stream, the problems that make the
// file unsound and what unpacked sources could not rebuild exactly.
struct LevelFileInfo {
  std::string file;  // as named
  Status status;     // why the file could not be read, when it could not
  bool sound = false;
  std::string json;  // the file's document; texts from the file as JSON strings
  std::string text;  // the document's keys as headings; empty when not read
};

// `objects`: list every object, not only the counts. The file is read
// through `system`.
LevelFileInfo read_level_info(const std::string& file, bool objects,
                              platform::System& system = platform::default_system());

// The documents as one JSON array; bytes that are not UTF-8 become U+FFFD.
std::string info_json(std::span<const LevelFileInfo> infos);

struct UnpackOptions {
  // The folder the sources go into; beside the level file when empty.
  std::string folder;
  // The map's width when the file does not tell it.
  std::optional<std::uint32_t> width;
  // Replace sources that are there.
  bool force = false;
  // What the level file is read and the sources written through; never null.
  platform::System* system = &platform::default_system();
};

struct UnpackResult {
  // Each "at byte N: TEXT": why the file is not sound (nothing written).
  std::vector<std::string> problems;
  // Why nothing or not everything was written, when so.
  std::optional<std::string> failure;
  std::vector<std::string> written;  // the files written, in order
  // Each "at byte N: TEXT": what the rebuilt level will not give back.
  std::vector<std::string> differences;
};

// Writes the config file, attribute map and pictures of the level file.
UnpackResult unpack_level_file(const std::string& file, const UnpackOptions& options);

// An object of a level file, placed on its map.
struct ObjectMark {
  std::int32_t x = 0, y = 0;
  std::uint8_t kind = 0;
  std::array<std::uint8_t, 5> parameters{};  // as its record holds them
  std::optional<Rgb> colour;  // its kind's marker colour; none for a kind no marker places
};

// Paints the level file's map into `sink`, each pixel in its attribute
// code's palette colour; returns the objects to mark on it, or nothing when
// the file has no sound map to paint.
// The file is read through `system`.
std::optional<std::vector<ObjectMark>> paint_level_file(
    const std::string& file, RowSink& sink, platform::System& system = platform::default_system());

}  // namespace zur
