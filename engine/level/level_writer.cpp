// SPDX-License-Identifier: MIT
#include "engine/level/level_writer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <new>
#include <optional>
#include <vector>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/compiler.h"
#include "engine/level/config_reader.h"
#include "engine/level/shared/byte_order.h"
#include "engine/level/shared/input_file.h"
#include "engine/level/shared/level_file.h"
#include "engine/level/shared/level_format.h"
#include "engine/level/shared/platform.h"
#include "engine/level/source_files.h"

namespace zur {
namespace {

constexpr std::size_t kCopyBlockSize = std::size_t{1} << 20;

// The length of a picture, or nothing when it cannot be opened.
std::optional<std::uint64_t> picture_length(const std::string& path) {
  InputFile picture;
  if (!picture.open(path)) return std::nullopt;
  return picture.size();
}

// Copies exactly `length` bytes of the picture, the length the header's
// offsets were computed from; false when it can no longer be read in full.
bool copy_picture(const std::string& path, std::uint64_t length, LevelFile& out) {
  InputFile picture;
  if (!picture.open(path)) return false;
  std::vector<std::uint8_t> block(
      static_cast<std::size_t>(std::min<std::uint64_t>(length, kCopyBlockSize)));
  while (length > 0) {
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::uint64_t>(length, block.size()));
    if (!picture.read_exact(block.data(), count)) return false;
    out.append(block.data(), count);
    length -= count;
  }
  return true;
}

// Copies the attribute map's width and height into the level picture section.
ConversionResult write_map_size(const std::string& map_path, LevelFile& out) {
  MapSizeSection section;
  const ConversionResult read = read_map_size_section(map_path, section);
  if (read == ConversionResult::kSuccess) out.append(section.data(), section.size());
  return read;
}

void write_header(const LevelSettings& settings, std::uint32_t picture_size,
                  std::uint32_t parallax_size, LevelFile& out) {
  using namespace level_format;
  std::array<std::uint8_t, kHeaderSize> header{};
  std::copy(kSignature.begin(), kSignature.end(), header.begin());
  put_le32(&header[kPictureOffsetAt], kHeaderSize);
  put_le32(&header[kParallaxOffsetAt], kHeaderSize + picture_size);
  put_le32(&header[kObjectsOffsetAt], kHeaderSize + picture_size + parallax_size);
  std::copy(settings.bytes().begin(), settings.bytes().end(), header.begin() + kSettingsAt);
  out.append(header.data(), header.size());
}

// The level's sources as the lookup finds them, in the order the level file
// must be none of.
struct SourcePaths {
  std::array<std::string, 4> all;
  const std::string& config() const { return all[0]; }
  const std::string& image() const { return all[1]; }
  const std::string& parallax() const { return all[2]; }
  const std::string& map() const { return all[3]; }
};

ConversionResult write_sections(Conversion& conversion, const SourcePaths& sources,
                                LevelFile& out) {
  LevelSettings& settings = conversion.settings;
  settings.reset_to_defaults();
  switch (read_level_config(sources.config(), settings, conversion.found, conversion.warnings)) {
    case ConfigOutcome::kMissing:
      return ConversionResult::kConfigFileMissing;
    case ConfigOutcome::kIncomplete:
      conversion.warnings.append(warning::kMissingParameters);
      break;
    case ConfigOutcome::kComplete:
      break;
  }

  std::uint64_t picture_size = level_format::kMapSizeSectionSize;
  if (!settings.gg_level()) {
    const std::optional<std::uint64_t> length = picture_length(sources.image());
    if (!length) return ConversionResult::kLevelJpegMissing;
    picture_size = *length;
  }
  std::uint64_t parallax_size = 0;
  if (settings.para()) {
    const std::optional<std::uint64_t> length = picture_length(sources.parallax());
    if (!length) return ConversionResult::kParallaxJpegMissing;
    parallax_size = *length;
  }
  // Section offsets are 32-bit: pictures that would overflow them cannot be held.
  if (level_format::kHeaderSize + picture_size + parallax_size >
      std::numeric_limits<std::uint32_t>::max()) {
    return ConversionResult::kNotEnoughMemory;
  }
  conversion.sources_read = {sources.config(), sources.map()};
  if (!settings.gg_level()) conversion.sources_read.push_back(sources.image());
  if (settings.para()) conversion.sources_read.push_back(sources.parallax());

  write_header(settings, static_cast<std::uint32_t>(picture_size),
               static_cast<std::uint32_t>(parallax_size), out);
  if (settings.gg_level()) {
    const ConversionResult written = write_map_size(sources.map(), out);
    if (written != ConversionResult::kSuccess) return written;
  } else if (!copy_picture(sources.image(), picture_size, out)) {
    return ConversionResult::kLevelJpegMissing;
  }
  if (settings.para() && !copy_picture(sources.parallax(), parallax_size, out)) {
    return ConversionResult::kParallaxJpegMissing;
  }
  return compile_attribute_map(sources.map(), out, conversion);
}

// A failed conversion leaves no level file, not even the old one. An old
// one that stays is told, with the reason: the game would load it.
void remove_failed_level(Conversion& conversion) {
  const std::string& path = conversion.level_file;
  const std::error_code error = platform::remove_file(path);
  platform::FileStatus left;
  if (error && (platform::file_status(path, left) || left.kind != platform::FileKind::kMissing)) {
    conversion.reasons.push_back(system_error("cannot remove the old level file", path, error));
  }
}

}  // namespace

ConversionResult write_level_file(Conversion& conversion) {
  // Out of memory fails the job like any other failure.
  bool opened = false;
  ConversionResult result;
  try {
    conversion.warnings.reset();
    conversion.sources_read.clear();
    conversion.reasons.clear();
    const SourcePaths sources{find_sources(conversion.prefix)};
    LevelFile out;
    result = out.open(conversion.level_file, sources.all);
    opened = result == ConversionResult::kSuccess;
    // The compiler puts the level in place before its report.
    if (opened) result = write_sections(conversion, sources, out);
    if (out.failure()) conversion.reasons.push_back(*out.failure());
  } catch (const std::bad_alloc&) {
    result = ConversionResult::kNotEnoughMemory;
  }
  // One that could not be opened was never touched.
  if (result != ConversionResult::kSuccess && opened) remove_failed_level(conversion);
  return result;
}

}  // namespace zur
