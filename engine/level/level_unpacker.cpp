// SPDX-License-Identifier: MIT
#include "engine/level/level_unpacker.h"

#include <algorithm>
#include <array>
#include <deque>
#include <optional>

#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/palette.h"
#include "engine/attrmap/run_token.h"
#include "engine/attrmap/tga.h"
#include "engine/base/ascii.h"
#include "engine/base/output_file.h"
#include "engine/base/platform.h"
#include "engine/conversion/level_format.h"

namespace zur {
namespace {

using Bytes = std::span<const std::uint8_t>;

std::string lower(std::string_view suffix) {
  std::string text(suffix);
  for (char& c : text) c = ascii_lower(c);
  return text;
}

// The marker pixels that place the objects again, by row from the top and
// left to right; objects no marker can place are left out.
std::vector<tga::Pixel> markers_of(const LevelContents& contents, MapSize size) {
  std::vector<tga::Pixel> markers;
  for (const PlacedObject& object : contents.objects) {
    const ObjectRecord& record = object.record;
    if (!object.marker || !on_map(record, size)) continue;
    markers.push_back({std::uint32_t(record.x), std::uint32_t(record.y), object.marker->colour});
  }
  std::stable_sort(markers.begin(), markers.end(), [](const tga::Pixel& a, const tga::Pixel& b) {
    return std::pair(a.y, a.x) < std::pair(b.y, b.x);
  });
  return markers;
}

void write_attribute_map(Bytes file, const LevelContents& contents, OutputFile& out) {
  const MapSize size = *contents.map_size;
  tga::BottomUpWriter map(
      [&out](std::uint64_t offset, Bytes bytes) {
        out.write_at(offset, bytes.data(), bytes.size());
        return !out.failed();
      },
      std::uint16_t(size.width), std::uint16_t(size.height), markers_of(contents, size));
  if (!map.write_header()) return;
  const bool painted = for_each_run(file, contents, [&map](const Run& run) {
    return map.paint(kCodeColours[run.code], run.length);
  });
  if (painted) map.finish();
}

}  // namespace

namespace {

struct Source {
  std::string path;
  std::optional<Bytes> bytes;  // none for the attribute map, painted from the stream
};

// In the order of source_paths.
std::vector<Source> sources(const std::string& prefix, const LevelContents& contents,
                            Bytes config) {
  std::vector<Source> list = {{prefix + lower(suffix::kConfig), config},
                              {prefix + lower(suffix::kAttributeMap), std::nullopt}};
  if (!contents.gg_level)
    list.push_back({prefix + lower(suffix::kLevelImage), contents.picture.value_or(Bytes{})});
  if (contents.para)
    list.push_back({prefix + lower(suffix::kParallaxImage), contents.parallax.value_or(Bytes{})});
  return list;
}

}  // namespace

std::vector<std::string> source_paths(const std::string& prefix, const LevelContents& contents) {
  std::vector<std::string> paths;
  for (const Source& source : sources(prefix, contents, {})) paths.push_back(source.path);
  return paths;
}

Unpacked unpack_level(Bytes file, const LevelContents& contents, const std::string& prefix,
                      bool overwrite, const std::string& level_file, platform::System& system) {
  if (!contents.problems.empty() || !contents.map_size) {
    return {Error{"cannot unpack", level_file, "its sources cannot be known", {}, {}}, {}};
  }
  const std::string config = config_file_text(contents.settings);
  const std::vector<Source> files = sources(
      prefix, contents, Bytes(reinterpret_cast<const std::uint8_t*>(config.data()), config.size()));
  std::vector<std::string> all = {level_file};
  for (const Source& source : files) all.push_back(source.path);
  if (!overwrite) {
    for (const Source& source : files) {
      if (system.name_exists(source.path)) {
        return {Error{"cannot write", source.path, "it exists (--force overwrites)", {}, {}}, {}};
      }
    }
  }
  // Every file is complete in its temporary file before any is put in place.
  // A deque, as an OutputFile does not move.
  std::deque<OutputFile> outputs;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const Source& source = files[i];
    std::vector<std::string> others = all;
    others.erase(others.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    OutputFile& output = outputs.emplace_back(system);
    if (Status refused = output.open(source.path, others); !refused.ok()) {
      return {std::move(refused), {}};
    }
    if (source.bytes) {
      output.write_at(0, source.bytes->data(), source.bytes->size());
    } else {
      write_attribute_map(file, contents, output);
    }
    if (output.failed()) return {output.commit(), {}};
  }
  Unpacked unpacked;
  for (OutputFile& output : outputs) {
    if (!(unpacked.status = output.commit(overwrite)).ok()) return unpacked;
    unpacked.written.push_back(output.path());
  }
  return unpacked;
}

std::string unpack_prefix(const std::string& level, const std::string& folder) {
  const std::size_t start = name_start(level);
  std::string name = level.substr(start);
  const std::string_view suffix = suffix::kLevelFile;
  if (name.size() > suffix.size() && ends_with_ignoring_case(name, suffix)) {
    name.resize(name.size() - suffix.size());
  }
  std::string parent = folder;
  if (parent.empty()) {
    std::size_t end = start;
    while (end > root_length(level) && is_folder_separator(level[end - 1])) --end;
    parent = level.substr(0, end);
  }
  const bool windows = kNativePathSyntax == PathSyntax::kWindows;
  const bool bare_drive = windows && parent.size() == 2 && parent[1] == ':';
  if (parent.empty() || bare_drive || is_folder_separator(parent.back())) return parent + name;
  return parent + (windows ? '\\' : '/') + name;
}

}  // namespace zur
