// SPDX-License-Identifier: MIT
#include "engine/level/level_unpacker.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>

#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/palette.h"
#include "engine/attrmap/run_token.h"
#include "engine/attrmap/tga.h"
#include "engine/level/shared/ascii.h"
#include "engine/level/shared/byte_order.h"
#include "engine/level/shared/level_file.h"
#include "engine/level/shared/level_format.h"

namespace zur {
namespace {

using Bytes = std::span<const std::uint8_t>;

std::string lower(std::string_view suffix) {
  std::string text(suffix);
  for (char& c : text) c = ascii_lower(c);
  return text;
}

// A file being written: removed again when the object goes before commit()
// succeeded, so that a failed unpack leaves nothing half written.
class OutputFile {
 public:
  OutputFile(const std::string& path, bool overwrite)
      : path_(path),
        fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (overwrite ? O_TRUNC : O_EXCL),
                   0666)) {}
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(path_.c_str());
  }
  bool opened() const { return fd_ >= 0; }

  bool write_at(std::uint64_t offset, Bytes bytes) {
    return write_all_at(fd_, offset, bytes.data(), bytes.size());
  }
  bool commit() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) == 0) return true;
    ::unlink(path_.c_str());
    return false;
  }

 private:
  std::string path_;
  int fd_;
};

bool write_file(const std::string& path, Bytes bytes, bool overwrite) {
  OutputFile out(path, overwrite);
  return out.opened() && out.write_at(0, bytes) && out.commit();
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

// The colour of every 6-bit code; codes the palette lacks, which a sound
// stream does not hold, paint as air.
constexpr std::array<Rgb, 64> kCodeColours = [] {
  std::array<Rgb, 64> colours{};
  for (std::size_t code = 0; code < kPalette.size(); ++code) colours[code] = kPalette[code].colour;
  return colours;
}();

bool write_attribute_map(Bytes file, const LevelContents& contents, const std::string& path,
                         bool overwrite) {
  const MapSize size = *contents.map_size;
  OutputFile out(path, overwrite);
  if (!out.opened()) return false;
  tga::BottomUpWriter map(
      [&out](std::uint64_t offset, Bytes bytes) { return out.write_at(offset, bytes); },
      std::uint16_t(size.width), std::uint16_t(size.height), markers_of(contents, size));
  if (!map.write_header()) return false;
  const Bytes stream = stream_bytes(file, contents);
  for (std::size_t at = 0; at + kRunTokenSize < stream.size(); at += kRunTokenSize) {
    const Run run = run_of_token(get_le16(&stream[at]));
    if (!map.paint(kCodeColours[run.code], run.length)) return false;
  }
  return map.finish() && out.commit();
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

UnpackOutcome unpack_level(Bytes file, const LevelContents& contents, const std::string& prefix,
                           bool overwrite) {
  if (!contents.problems.empty()) return {UnpackResult::kUnsound, {}};
  if (!contents.map_size) return {UnpackResult::kSizeUnknown, {}};
  const std::string config = config_file_text(contents.settings);
  const std::vector<Source> files = sources(
      prefix, contents, Bytes(reinterpret_cast<const std::uint8_t*>(config.data()), config.size()));
  if (!overwrite) {
    for (const Source& source : files) {
      std::error_code ignored;
      if (std::filesystem::exists(source.path, ignored) ||
          std::filesystem::is_symlink(source.path, ignored)) {
        return {UnpackResult::kFileExists, source.path};
      }
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    const Source& source = files[i];
    const bool written = source.bytes ? write_file(source.path, *source.bytes, overwrite)
                                      : write_attribute_map(file, contents, source.path, overwrite);
    if (written) continue;
    for (std::size_t j = 0; j < i; ++j) ::unlink(files[j].path.c_str());
    return {UnpackResult::kWriteFailed, source.path};
  }
  return {UnpackResult::kWritten, {}};
}

}  // namespace zur
