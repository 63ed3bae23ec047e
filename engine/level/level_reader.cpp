// SPDX-License-Identifier: MIT
#include "engine/level/level_reader.h"

#include <algorithm>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/palette.h"
#include "engine/attrmap/run_token.h"
#include "engine/base/byte_order.h"
#include "engine/conversion/level_format.h"
#include "engine/level/level_differences.h"
#include "engine/level/problem.h"

namespace zur {
namespace {

using Bytes = std::span<const std::uint8_t>;

class LevelReader {
 public:
  LevelReader(Bytes file, const ReadOptions& options) : file_(file), options_(options) {
    level_.file_size = file.size();
  }

  LevelContents read() {
    if (!read_header()) return std::move(level_);
    read_settings();
    if (read_sections()) {
      read_objects();
      if (level_.stream) scan_stream();
    }
    settle_map_size();
    return std::move(level_);
  }

 private:
  void problem(std::uint64_t offset, std::string text) {
    level_.problems.push_back({offset, std::move(text)});
  }

  bool read_header() {
    using namespace level_format;
    std::copy_n(file_.begin(), std::min(file_.size(), level_.signature.size()),
                level_.signature.begin());
    level_.signature_matches = file_.size() >= kSignature.size() &&
                               std::equal(kSignature.begin(), kSignature.end(), file_.begin());
    if (file_.size() < kHeaderSize) {
      problem(file_.size(), "the file is " + counted(file_.size(), "byte") +
                                " long, shorter than the " + number(kHeaderSize) + "-byte header");
      if (file_.size() >= kSettingsAt) read_offsets();
      return false;
    }
    level_.header_complete = true;
    if (!level_.signature_matches) {
      problem(0, "the first " + number(kSignature.size()) +
                     " bytes are not the signature of the level files this converter writes");
    }
    read_offsets();
    return true;
  }

  void read_offsets() {
    using namespace level_format;
    level_.picture_at = get_le32(&file_[kPictureOffsetAt]);
    level_.parallax_at = get_le32(&file_[kParallaxOffsetAt]);
    level_.objects_at = get_le32(&file_[kObjectsOffsetAt]);
  }

  void read_settings() {
    const Bytes record = file_.subspan(level_format::kSettingsAt, LevelSettings::kSize);
    level_.gg_level = record[field::kGgLevel] != 0;
    level_.para = record[field::kPara] != 0;
    level_.settings = settings_sources(SettingsRecord(record.data(), LevelSettings::kSize));
  }

  // Checks that the three offsets follow the header in order within the
  // file; true when the picture sections can be taken.
  bool read_sections() {
    using namespace level_format;
    const std::uint64_t offsets[] = {level_.picture_at, level_.parallax_at, level_.objects_at};
    const char* names[] = {"level picture", "parallax", "object"};
    const std::size_t fields[] = {kPictureOffsetAt, kParallaxOffsetAt, kObjectsOffsetAt};
    std::uint64_t previous = kHeaderSize;
    bool sound = true;
    for (std::size_t i = 0; i < 3; ++i) {
      if (offsets[i] > file_.size()) {
        problem(fields[i], std::string("the ") + names[i] + " section offset " +
                               number(offsets[i]) + " lies past the file's end at " +
                               number(file_.size()));
        return false;
      }
      if (offsets[i] < previous) {
        problem(fields[i], std::string("the ") + names[i] + " section offset " +
                               number(offsets[i]) + " lies before " + number(previous) +
                               (i == 0 ? ", the header's end" : ", the section before it"));
        sound = false;
      }
      previous = std::max(previous, offsets[i]);
    }
    if (!sound) return false;
    level_.picture = file_.subspan(level_.picture_at, level_.parallax_at - level_.picture_at);
    level_.parallax = file_.subspan(level_.parallax_at, level_.objects_at - level_.parallax_at);
    read_pictures();
    return true;
  }

  void read_pictures() {
    const Bytes picture = *level_.picture;
    if (!level_.gg_level) {
      level_.picture_frame = jpeg_frame_size(picture);
    } else if (picture.size() == level_format::kMapSizeSectionSize) {
      level_.size_section = MapSize{get_le16(&picture[0]), get_le16(&picture[2])};
    }
    level_.parallax_frame = jpeg_frame_size(*level_.parallax);
  }

  void read_objects() {
    const std::uint64_t at = level_.objects_at;
    if (file_.size() - at < kObjectCountSize) {
      problem(at, "the object section at " + number(at) +
                      " ends at the file's end before its "
                      "count");
      return;
    }
    const std::uint32_t count = get_le32(&file_[at]);
    level_.object_count = count;
    if (count > kObjectLimit) {
      problem(at, "the object count " + number(count) + " is above the limit of " +
                      number(kObjectLimit));
    }
    const std::uint64_t records_at = at + kObjectCountSize;
    const std::uint64_t fit = (file_.size() - records_at) / object_field::kRecordSize;
    if (count > fit) {
      problem(file_.size(), "the " + counted(count, "object record") + " from " +
                                number(records_at) + (count == 1 ? " runs" : " run") +
                                " past the file's end");
    }
    const std::uint64_t held = std::min<std::uint64_t>({count, fit, kObjectLimit});
    for (std::uint64_t i = 0; i < held; ++i) {
      const std::uint64_t offset = records_at + i * object_field::kRecordSize;
      const std::uint8_t* bytes = &file_[offset];
      const ObjectRecord record = decode_object_record(bytes);
      const ObjectRecordBytes again = encode_object_record(record);
      level_.objects.push_back({offset, record, std::equal(again.begin(), again.end(), bytes),
                                nearest_marker(record.kind, record.parameters), std::nullopt});
    }
    if (count <= fit) {
      level_.stream = StreamFacts{};
      level_.stream->offset = records_at + std::uint64_t{count} * object_field::kRecordSize;
    }
  }

  // The width the stream is cut into rows by, before the pixels are counted.
  std::optional<std::uint32_t> candidate_width() {
    if (options_.width) return options_.width;
    if (level_.size_section) return level_.size_section->width;
    if (level_.picture_frame) return level_.picture_frame->width;
    return std::nullopt;
  }

  // One pass over the tokens: counts, checks, and the code under each
  // object for the width the file suggests.
  void scan_stream() {
    StreamFacts& stream = *level_.stream;
    std::vector<std::pair<std::uint64_t, PlacedObject*>> object_pixels = pixels_of_objects();
    auto next_object = object_pixels.begin();

    std::uint64_t at = stream.offset;
    std::optional<Run> previous;
    for (; file_.size() - at >= kRunTokenSize; at += kRunTokenSize) {
      if (file_[at] == kEndToken[0] && file_[at + 1] == kEndToken[1]) {
        stream.ended = true;
        break;
      }
      const Run run = run_of_token(get_le16(&file_[at]));
      if (run.code >= kAttributeCodes && stream.histogram[run.code] == 0 && run.length > 0) {
        problem(at, "the run at " + number(at) + " has attribute code " + number(run.code) +
                        ", which the palette does not have");
      }
      if (run.length == 0) {
        if (!stream.empty_run_at) stream.empty_run_at = at;
      } else if (previous && previous->code == run.code && previous->length < kMaxRunLength) {
        if (!stream.split_run_at) stream.split_run_at = at;
      }
      if (run.length > 0) previous = run;
      const std::uint64_t end = stream.pixels + run.length;
      for (; next_object != object_pixels.end() && next_object->first < end; ++next_object) {
        next_object->second->code_under = run.code;
      }
      ++stream.tokens;
      stream.pixels = end;
      stream.histogram[run.code] += run.length;
    }
    if (!stream.ended) {
      problem(file_.size(), "the attribute stream from " + number(stream.offset) +
                                " has no end token (FF FF) before the file's end");
      return;
    }
    stream.bytes_after = file_.size() - (at + kRunTokenSize);
    if (stream.bytes_after > 0) {
      problem(at + kRunTokenSize, counted(stream.bytes_after, "byte") +
                                      (stream.bytes_after == 1 ? " follows" : " follow") +
                                      " the attribute stream's end token at " + number(at));
    }
  }

  // The index of each object's pixel in the stream, in stream order, for
  // the width the file suggests; none without one.
  std::vector<std::pair<std::uint64_t, PlacedObject*>> pixels_of_objects() {
    std::vector<std::pair<std::uint64_t, PlacedObject*>> pixels;
    const std::optional<std::uint32_t> width = candidate_width();
    if (!width) return pixels;
    for (PlacedObject& object : level_.objects) {
      const ObjectRecord& o = object.record;
      if (o.x < 0 || o.y < 0 || static_cast<std::uint32_t>(o.x) >= *width) continue;
      pixels.push_back({std::uint64_t(o.y) * *width + std::uint64_t(o.x), &object});
    }
    std::sort(pixels.begin(), pixels.end());
    return pixels;
  }

  void settle_map_size() {
    if (!level_.stream || !level_.stream->ended) return;
    const std::uint64_t pixels = level_.stream->pixels;
    if (options_.width) {
      const std::uint64_t width = *options_.width;
      const std::uint64_t height = width == 0 ? 0 : pixels / width;
      if ((width == 0 && pixels == 0) ||
          (width > 0 && pixels % width == 0 && width <= tga::kMaxSide && height <= tga::kMaxSide)) {
        take_map_size({std::uint32_t(width), std::uint32_t(height)}, MapSizeSource::kGiven);
      }
    } else if (level_.size_section) {
      take_map_size(*level_.size_section, MapSizeSource::kSizeSection);
    } else if (level_.picture_frame) {
      take_map_size({level_.picture_frame->width, level_.picture_frame->height},
                    MapSizeSource::kLevelPicture);
    } else if (pixels == 0) {
      take_map_size({0, 0}, MapSizeSource::kGiven);
    }
    if (level_.size_section && !level_.map_size) {
      problem(level_.picture_at, "the attribute stream covers " + number(pixels) +
                                     " pixels, not the " + size_text(*level_.size_section) +
                                     " that the map size section says");
    }
  }

  void take_map_size(MapSize size, MapSizeSource source) {
    if (std::uint64_t{size.width} * size.height != level_.stream->pixels) return;
    level_.map_size = size;
    level_.map_size_source = source;
  }

  Bytes file_;
  const ReadOptions& options_;
  LevelContents level_;
};

}  // namespace

std::string size_text(MapSize size) {
  return number(size.width) + " × " + number(size.height);
}

LevelContents read_level(std::span<const std::uint8_t> file, const ReadOptions& options) {
  LevelContents level = LevelReader(file, options).read();
  add_differences(level);
  return level;
}

std::span<const std::uint8_t> stream_bytes(std::span<const std::uint8_t> file,
                                           const LevelContents& contents) {
  if (!contents.stream || !contents.stream->ended) return {};
  const std::uint64_t end = contents.file_size - contents.stream->bytes_after;
  return file.subspan(contents.stream->offset, end - contents.stream->offset);
}

}  // namespace zur
