// SPDX-License-Identifier: MIT
// Level files as the public interface offers them: their info, unpacking
// and their picture, each read from the file named.
#include "zur/level_file.h"

#include "engine/api/level_info.h"
#include "engine/level/level_picture.h"
#include "engine/level/level_reader.h"
#include "engine/level/level_unpacker.h"
#include "engine/level/mapped_file.h"
#include "engine/level/problem.h"
#include "zur/convert.h"

namespace zur {
namespace {

std::vector<std::string> findings_text(const std::vector<Finding>& findings) {
  std::vector<std::string> texts;
  for (const Finding& finding : findings) {
    texts.push_back("at byte " + std::to_string(finding.offset) + ": " + finding.text);
  }
  return texts;
}

std::string unknown_size(const std::string& file, const UnpackOptions& options,
                         std::uint64_t pixels) {
  if (options.width) {
    return file + ": a width of " + std::to_string(*options.width) +
           " does not cut the attribute stream's " + counted(pixels, "pixel") +
           " into at most 65535 whole rows; nothing written";
  }
  return file +
         ": the map's width is not known: neither a map size section nor the level picture's "
         "frame header gives a width × height of " +
         counted(pixels, "pixel") +
         ", the attribute stream's count; give the width with --width W. Nothing written";
}

// After a failed unpack: only a failure while the complete files were put
// in place leaves some of them written.
std::string what_was_written(const std::vector<std::string>& written) {
  if (written.empty()) return "nothing written";
  std::string text = "written before the failure:";
  for (const std::string& path : written) text += " " + path;
  return text;
}

}  // namespace

LevelFileInfo read_level_info(const std::string& file, bool objects, platform::System& system) {
  LevelFileInfo info{file, {}, false, {}, {}};
  MappedFile mapped(system);
  if (!(info.status = mapped.open(file)).ok()) {
    info.json = json_text(Json{{"file", file}, {"error", info.status.text()}});
    return info;
  }
  const LevelContents contents = read_level(mapped.bytes());
  const Json document = level_info(file, contents, objects);
  info.sound = contents.problems.empty();
  info.json = json_text(document);
  info.text = info_text(document);
  return info;
}

std::string info_json(std::span<const LevelFileInfo> infos) {
  Json documents = Json::array();
  for (const LevelFileInfo& info : infos) documents.push_back(Json::parse(info.json));
  return json_text(documents);
}

UnpackResult unpack_level_file(const std::string& file, const UnpackOptions& options) {
  UnpackResult result;
  MappedFile mapped(*options.system);
  if (const Status opened = mapped.open(file); !opened.ok()) {
    result.failure = opened.text();
    return result;
  }
  ReadOptions read_options;
  read_options.width = options.width;
  const LevelContents contents = read_level(mapped.bytes(), read_options);
  if (!contents.problems.empty()) {
    result.problems = findings_text(contents.problems);
    result.failure = file + " is not a sound level file; nothing written";
    return result;
  }
  if (!contents.map_size) {
    result.failure = unknown_size(file, options, contents.stream->pixels);
    return result;
  }
  const Unpacked unpacked =
      unpack_level(mapped.bytes(), contents, unpack_prefix(file, options.folder), options.force,
                   file, *options.system);
  result.written = unpacked.written;
  if (!unpacked.status.ok()) {
    result.failure = unpacked.status.text() + "; " + what_was_written(unpacked.written);
    return result;
  }
  result.differences = findings_text(contents.differences);
  return result;
}

std::optional<std::vector<ObjectMark>> paint_level_file(const std::string& file, RowSink& sink,
                                                        platform::System& system) {
  MappedFile mapped(system);
  if (!mapped.open(file).ok()) return std::nullopt;
  const LevelContents contents = read_level(mapped.bytes());
  if (!paint_level(mapped.bytes(), contents, sink)) return std::nullopt;
  return object_marks(contents);
}

}  // namespace zur
