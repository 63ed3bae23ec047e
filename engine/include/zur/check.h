// SPDX-License-Identifier: MIT
// Checking a level's sources without converting: reads them as a conversion
// would, through the same source lookup, asks nothing, never opens the level
// file, and lists every problem with its file, its place (config line, or
// map pixel with y counted from the top) and a stable code that fixes its
// severity. One result value per level, rendered as compiler-style text or
// as one JSON document.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "zur/error.h"
#include "zur/palette.h"
#include "zur/row_sink.h"
#include "zur/system.h"

namespace zur {

enum class ProblemCode {
  kUnknownKeyword,
  kKeywordTrailingSpace,
  kDuplicateKeyword,
  kMissingKeyword,
  kBadYesNo,
  kBadNumber,
  kNumberOutOfRange,
  kBadTriple,
  kBadSignPair,
  kEmptyValue,
  kMissingValue,
  kLongLine,
  kTextCut,
  kTextNulByte,
  kTooManySigns,
  kSourceMissing,
  kTgaFormat,
  kTgaIdField,
  kIllegalColours,
  kObjectsDropped,
  kMarkerBlock,
  kNotAJpeg,
  kPictureSizeMismatch,
};

enum class Severity { kError, kWarning };

// The code as written in the check's output, e.g. "unknown-keyword".
std::string_view code_name(ProblemCode code);
// Errors are what makes the conversion fail (or fail without going on past
// illegal colours) or gives the game a picture it cannot show.
Severity severity(ProblemCode code);
std::string_view severity_name(Severity severity);

struct Problem {
  ProblemCode code;
  std::string file;                  // as the source lookup found it
  std::optional<std::int64_t> line;  // 1-based config line
  std::optional<std::int64_t> x, y;  // map pixel
  std::string message;
};

struct MapFormat {
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool top_down = false;  // the file stores the top row first
};

struct IllegalColour {
  Rgb colour;
  std::uint64_t pixels = 0;
  MapPlace first;
  std::uint8_t nearest_code = 0;
};

// An object a conversion stores: its marker's place and what it places.
struct MapObject {
  MapPlace place;
  MarkerInfo marker;
};

struct MapCheckFindings {
  // Only the first colours met are listed; all are counted.
  static constexpr std::size_t kListedColours = 1000;

  // Pixels by the attribute code the level file's stream gives them, a
  // marker's pixel counted as the code it leaves under its object; illegal
  // pixels are counted apart. Together they count every pixel of the map.
  std::array<std::uint64_t, kAttributeCodes> codes{};
  std::uint64_t illegal_pixels = 0;
  std::uint64_t distinct_illegal_colours = 0;
  std::vector<IllegalColour> illegal_colours;  // in the order first met

  // Objects as the level stores them, in its order (by row from the top,
  // then left to right), and counted by kind; markers past the object limit
  // are dropped, so the list is no longer than the limit.
  std::vector<MapObject> objects;
  std::array<std::size_t, 5> objects_by_kind{};
  std::uint64_t dropped_markers = 0;
  std::optional<MapPlace> first_dropped;

  std::uint64_t marker_blocks = 0;
  std::optional<MapPlace> first_marker_block;
};

struct LevelCheck {
  std::string level;  // the level prefix
  std::vector<Problem> problems;
  std::optional<MapFormat> map;              // when its header could be read
  std::optional<MapCheckFindings> findings;  // when its pixels could be read
  std::string mask;                          // the mask's path when one was asked for
  Status mask_status;                        // why the mask asked for was not written
};

struct CheckOptions {
  // Writes the mask picture PREFIX-check.png beside the sources.
  bool mask_file = false;
  // Paints the mask into this sink (when there is no mask file): legal
  // pixels grey (red = green = blue, and no other pixel is grey), illegal
  // pixels (255, 0, 255), markers in their kind's MarkerKindColour::shown.
  // Reduced, a cell shows its first marker or illegal pixel in row order,
  // else its top-left pixel.
  RowSink* mask_rows = nullptr;
  // Paints the attribute map into this sink: a legal pixel in its colour, a
  // marker in the palette colour of the code it leaves under its object, an
  // illegal pixel in its own colour; reduced as the mask is, so that a cell
  // shows the same pixel in both.
  RowSink* attribute_rows = nullptr;
  // Config files the user picked or dropped, as for a conversion.
  std::vector<std::string> picked_configs;
  // What the sources are read and the mask written through; never null.
  platform::System* system = &platform::default_system();
};

// Checks the level named as zurconv takes an argument.
LevelCheck check_level(std::string_view level, const CheckOptions& options);

// True when a problem counts against the level (an error, or with `strict`
// any problem), or the mask asked for was not written.
bool has_failure(const LevelCheck& check, bool strict);

// One line per problem, "FILE[:LINE]: SEVERITY: MESSAGE [CODE]", then
// "LEVEL: N errors, M warnings"; `quiet` keeps only the error lines.
std::string check_text(const LevelCheck& check, bool quiet);

// The document {"levels": [...]}; bytes that are not UTF-8 become U+FFFD.
std::string check_json(std::span<const LevelCheck> checks, bool strict);

}  // namespace zur
