// SPDX-License-Identifier: MIT
// Reads a level file from its bytes without trusting them: every offset and
// count is checked against the file's length before it is followed, so that
// nothing outside the bytes is read whatever they say. What is wrong with the
// file is named with its byte offset; what sources could not rebuild exactly
// is worked out from the contents apart (level_differences.h). The contents
// point into the bytes read, which must outlive them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/object_record.h"
#include "engine/attrmap/run_token.h"
#include "engine/base/byte_order.h"
#include "engine/level/finding.h"
#include "engine/level/jpeg_size.h"
#include "engine/level/settings_sources.h"

namespace zur {

struct MapSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// Where the map's width came from.
enum class MapSizeSource { kUnknown, kSizeSection, kLevelPicture, kGiven };

// Whether the object stands on a map of this size, where a marker can place it.
inline bool on_map(const ObjectRecord& record, MapSize size) {
  return record.x >= 0 && record.y >= 0 && std::uint32_t(record.x) < size.width &&
         std::uint32_t(record.y) < size.height;
}

// "640 × 480", as findings name a size.
std::string size_text(MapSize size);

struct StreamFacts {
  std::uint64_t offset = 0;  // of the first token
  std::uint64_t tokens = 0;  // attribute runs, the end token not counted
  std::uint64_t pixels = 0;
  std::array<std::uint64_t, 64> histogram{};  // pixels per code; codes from 34 are wrong
  bool ended = false;                         // the end token was found
  std::uint64_t bytes_after = 0;              // after the end token
  // Offsets of the first run that holds no pixel, and of the first that goes
  // on with the code of the run before it, which had room for its pixels.
  std::optional<std::uint64_t> empty_run_at, split_run_at;
};

struct PlacedObject {
  std::uint64_t offset;  // of its record
  ObjectRecord record;
  bool reserved_zero;                  // bytes 14 to 19 are zero, as they must be
  std::optional<MarkerColour> marker;  // the marker pixel nearest to placing it again
  // The code the stream gives its pixel, the stream cut into rows of the
  // width given or the file's own; none without a width, or off the stream.
  std::optional<std::uint8_t> code_under;
};

struct LevelContents {
  std::uint64_t file_size = 0;
  bool header_complete = false;
  bool signature_matches = false;
  std::array<std::uint8_t, 22> signature{};  // as far as the file holds it
  std::uint32_t picture_at = 0, parallax_at = 0, objects_at = 0;
  // Each present only when the offsets around it are sound.
  std::optional<std::span<const std::uint8_t>> picture, parallax;
  bool gg_level = false, para = false;
  SettingsSources settings;             // its differences are moved into `differences`
  std::optional<MapSize> size_section;  // GGLEVEL yes and a 4-byte level picture section
  std::optional<JpegSize> picture_frame, parallax_frame;
  std::optional<std::uint32_t> object_count;  // as stored, when the file holds it
  std::vector<PlacedObject> objects;          // the records the file holds, at most the limit
  std::optional<StreamFacts> stream;          // when the object section fits the file
  MapSizeSource map_size_source = MapSizeSource::kUnknown;
  std::optional<MapSize> map_size;   // when width × height is the stream's pixel count
  std::vector<Finding> problems;     // what makes the file unsound
  std::vector<Finding> differences;  // what rebuilt sources will not give back exactly
};

struct ReadOptions {
  std::optional<std::uint32_t> width;  // given by the user: overrides the file's
};

// The contents with their problems and, from level_differences.h, their
// differences.
LevelContents read_level(std::span<const std::uint8_t> file, const ReadOptions& options = {});

// The bytes of the packed attribute stream, runs and end token; empty when
// the file has no sound stream.
std::span<const std::uint8_t> stream_bytes(std::span<const std::uint8_t> file,
                                           const LevelContents& contents);

// Calls `visit` with each run of the packed stream `stream_bytes` gives, in
// order, the end token left out, until `visit` returns false; false then.
template <class Visit>
bool for_each_run(std::span<const std::uint8_t> file, const LevelContents& contents, Visit visit) {
  const std::span<const std::uint8_t> stream = stream_bytes(file, contents);
  for (std::size_t at = 0; at + kRunTokenSize < stream.size(); at += kRunTokenSize) {
    if (!visit(run_of_token(get_le16(&stream[at])))) return false;
  }
  return true;
}

}  // namespace zur
