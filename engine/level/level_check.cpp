// SPDX-License-Identifier: MIT
#include "engine/level/level_check.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <vector>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/check_mask.h"
#include "engine/attrmap/object_record.h"
#include "engine/attrmap/png_file.h"
#include "engine/attrmap/row_classifier.h"
#include "engine/attrmap/row_source.h"
#include "engine/base/input_file.h"
#include "engine/base/platform.h"
#include "engine/conversion/level_format.h"
#include "engine/level/config_check.h"
#include "engine/level/config_grammar.h"
#include "engine/level/jpeg_size.h"
#include "engine/level/source_files.h"

namespace zur {
namespace {

std::string place(std::int32_t x, std::int32_t y) {
  return "at x=" + std::to_string(x) + " y=" + std::to_string(y);
}

std::string colour_text(const Rgb& colour) {
  // Built by appending: g++ 12 warns falsely (-Wrestrict) on a literal plus a string.
  return std::string(1, '(')
      .append(std::to_string(colour.red))
      .append(", ")
      .append(std::to_string(colour.green))
      .append(", ")
      .append(std::to_string(colour.blue))
      .append(")");
}

// Classifies a map row once and hands each run to every one of `visitors`.
// Out of line, so that the walk over short runs keeps its own registers
// rather than sharing check_map's.
template <typename... Visitors>
[[gnu::noinline]] void check_row(const std::uint8_t* row, std::int32_t width,
                                 Visitors&... visitors) {
  classify_row(row, width,
               [&](std::int32_t x, std::int32_t length, const Rgb& colour,
                   const PixelClass& pixel) { (visitors.run(x, length, colour, pixel), ...); });
}

class LevelChecker {
 public:
  LevelChecker(const NamedLevel& level, bool mask_file, const MapPictureSinks& pictures,
               LevelCheck& check, platform::System& system)
      : system_(system),
        prefix_(level.prefix),
        found_(find_sources(level, system)),
        mask_file_(mask_file),
        pictures_(pictures),
        check_(check) {}

  void run() {
    check_config();
    check_map();
    for (const source::Index picture : {source::kLevelImage, source::kParallaxImage}) {
      if (kSourceFiles[picture].needed(settings_)) check_picture(kSourceFiles[picture]);
    }
  }

 private:
  void add(ProblemCode code, const std::string& file, std::string message,
           std::optional<MapPlace> at = std::nullopt) {
    Problem problem{code, file, std::nullopt, std::nullopt, std::nullopt, std::move(message)};
    if (at) {
      problem.x = at->x;
      problem.y = at->y;
    }
    check_.problems.push_back(std::move(problem));
  }

  // A source the lookup found no file for is named as the conversion's
  // message names it; one found but unreadable, by the name it was found as.
  std::string missing_name(const std::string& path, const SourceFile& source) const {
    if (platform::exists(system_, path)) return path;
    return missing_source_name(prefix_, source);
  }

  // False, with an error naming every candidate, when the lookup could not
  // choose among the names of `source`.
  bool chosen(const SourceFile& source) {
    const FoundSource& found = found_[source.index];
    if (found.ambiguous()) {
      add(ProblemCode::kSourceMissing, missing_source_name(prefix_, source),
          std::string(source.role) + " ambiguous: " + found.ambiguity().text() +
              "; the conversion fails");
    }
    return !found.ambiguous();
  }

  void add_missing(const std::string& path, const SourceFile& source) {
    std::string needed;
    if (!source.needed_with.empty()) needed.append(", needed with ").append(source.needed_with);
    add(ProblemCode::kSourceMissing, missing_name(path, source),
        std::string(source.role) + " missing or unreadable" + needed + ": the conversion fails");
  }

  // The settings as the conversion reads them decide which pictures it needs.
  void check_config() {
    const SourceFile& config_file = kSourceFiles[source::kConfig];
    if (!chosen(config_file)) return;
    const std::string& path = found_[config_file.index].path;
    config_grammar::ConfigFileLines config(system_);
    const bool opened = config.open(path).ok();
    if (opened) settings_ = check_level_config(config.lines(), path, check_.problems);
    if (!opened || config.failed()) add_missing(path, config_file);
  }

  void check_map() {
    const SourceFile& map_file = kSourceFiles[source::kAttributeMap];
    if (!chosen(map_file)) return;
    const std::string& path = found_[map_file.index].path;
    MapFile file(system_);
    MapHeader header;
    const std::optional<MapHeaderFault> checked =
        file.open(path).ok() ? check_map_header(file, header) : std::nullopt;
    if (!checked) {
      add_missing(path, map_file);
      return;
    }
    if (checked->fault != tga::Fault::kNone) {
      std::string message = checked->text + ": the conversion fails";
      if (!checked->remedy.empty()) message += "; " + checked->remedy;
      add(ProblemCode::kTgaFormat, path, message);
      return;
    }
    check_.map = MapFormat{header.width, header.height, !header.bottom_up};
    check_header_fields(path, header);

    std::optional<PngFile> png;
    RowSink* mask_sink = pictures_.mask;
    if (mask_file_) {
      check_.mask = prefix_ + kMaskSuffix;
      // The check never changes a source or a level file.
      std::vector<std::string> others = source_paths(found_);
      others.push_back(prefix_ + std::string(suffix::kLevelFile));
      check_.mask_status = png.emplace(system_).open(check_.mask, others);
      if (check_.mask_status.ok()) mask_sink = &*png;
    }
    CheckPictures pictures(mask_sink, pictures_.attributes, header.width, header.height);
    RowSource rows(header, file);
    MapChecker checker;
    for (std::int32_t y = 0; y < header.height; ++y) {
      const std::uint8_t* row = rows.next_row();
      if (row == nullptr) {
        add(ProblemCode::kSourceMissing, path,
            std::string(map_file.role) + " unreadable: the conversion fails");
        break;
      }
      // The pictures take the runs the findings take.
      if (pictures.wanted()) {
        check_row(row, header.width, checker, pictures);
        pictures.end_row(row);
      } else {
        check_row(row, header.width, checker);
      }
      checker.end_row();
    }
    pictures.finish();
    if (png && check_.mask_status.ok()) check_.mask_status = png->close();
    check_.findings = checker.finish();
    report_findings(path, *check_.findings);
  }

  // Facts of the format worth knowing, though the conversion reads past them.
  void check_header_fields(const std::string& path, const MapHeader& header) {
    if (header.id_length != 0) {
      add(ProblemCode::kTgaIdField, path,
          "image-ID field of " + counted(header.id_length, "byte") +
              " before the pixels: the conversion skips it");
    }
    if (header.colour_map_type == tga::kColourMapIncluded) {
      const std::uint16_t entries = header.colour_map_entries;
      add(ProblemCode::kTgaIdField, path,
          "colour map of " + std::to_string(entries) + (entries == 1 ? " entry" : " entries") +
              " of " + std::to_string(header.colour_map_entry_bits) +
              " bits before the pixels: the conversion skips it");
    } else if (header.colour_map_type != 0) {
      add(ProblemCode::kTgaIdField, path,
          "colour map type " + std::to_string(header.colour_map_type) +
              ", neither 0 nor 1: the conversion skips no colour map");
    }
  }

  void report_findings(const std::string& path, const MapCheckFindings& findings) {
    for (const IllegalColour& colour : findings.illegal_colours) {
      const Rgb& nearest = kPalette[colour.nearest_code].colour;
      add(ProblemCode::kIllegalColours, path,
          "illegal colour " + colour_text(colour.colour) + " in " +
              counted(colour.pixels, "pixel") + ", first " + place(colour.first.x, colour.first.y) +
              "; nearest legal colour: code " + std::to_string(colour.nearest_code) + " " +
              colour_text(nearest),
          colour.first);
    }
    const std::uint64_t unlisted =
        findings.distinct_illegal_colours - findings.illegal_colours.size();
    if (unlisted > 0) {
      add(ProblemCode::kIllegalColours, path,
          "and " + counted(unlisted, "more illegal colour") + ", not listed (" +
              counted(findings.illegal_pixels, "illegal pixel") + " in all)");
    }
    if (findings.first_dropped) {
      const MapPlace& first = *findings.first_dropped;
      add(ProblemCode::kObjectsDropped, path,
          counted(findings.dropped_markers, "marker") + " past the " +
              std::to_string(kObjectLimit) + "-object limit " +
              (findings.dropped_markers == 1 ? "is" : "are") + " dropped, the first " +
              place(first.x, first.y),
          first);
    }
    if (findings.first_marker_block) {
      const MapPlace& first = *findings.first_marker_block;
      add(ProblemCode::kMarkerBlock, path,
          counted(findings.marker_blocks, "block") +
              " of touching same-kind markers, each pixel an object; the first " +
              place(first.x, first.y),
          first);
    }
  }

  void check_picture(const SourceFile& picture) {
    if (!chosen(picture)) return;
    const std::string& path = found_[picture.index].path;
    const std::string what(picture.role);
    InputFile file(system_);
    std::vector<std::uint8_t> bytes;
    bool readable = file.open(path).ok();
    if (readable) {
      bytes.resize(static_cast<std::size_t>(file.size()));
      readable = file.read_exact(bytes.data(), bytes.size());
    }
    if (!readable) {
      add_missing(path, picture);
      return;
    }
    if (!has_jpeg_start(bytes)) {
      add(ProblemCode::kNotAJpeg, path, what + " is not a JPEG: the game cannot show it");
      return;
    }
    const std::optional<JpegSize> size = jpeg_frame_size(bytes);
    if (!size) {
      add(ProblemCode::kNotAJpeg, path,
          what + " has no JPEG frame header: the game cannot show it");
      return;
    }
    if (picture.index != source::kLevelImage || !check_.map) return;
    if (size->width != check_.map->width || size->height != check_.map->height) {
      add(ProblemCode::kPictureSizeMismatch, path,
          what + " is " + std::to_string(size->width) + " x " + std::to_string(size->height) +
              ", the attribute map " + std::to_string(check_.map->width) + " x " +
              std::to_string(check_.map->height));
    }
  }

  platform::System& system_;
  const std::string& prefix_;
  const FoundSources found_;
  const bool mask_file_;
  const MapPictureSinks pictures_;
  LevelCheck& check_;
  LevelSettings settings_;
};

}  // namespace

LevelCheck check_level(const NamedLevel& level, bool mask_file, platform::System& system,
                       const MapPictureSinks& pictures) {
  LevelCheck check;
  check.level = level.prefix;
  LevelChecker(level, mask_file, pictures, check, system).run();
  return check;
}

bool has_failure(const LevelCheck& check, bool strict) {
  if (!check.mask_status.ok()) return true;
  return std::any_of(check.problems.begin(), check.problems.end(), [&](const Problem& problem) {
    return strict || severity(problem.code) == Severity::kError;
  });
}

}  // namespace zur
