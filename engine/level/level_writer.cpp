#include "engine/level/level_writer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <vector>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/compiler.h"
#include "engine/level/byte_order.h"
#include "engine/level/config_reader.h"
#include "engine/level/input_file.h"
#include "engine/level/level_file.h"
#include "engine/level/level_format.h"
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

ConversionResult write_sections(Conversion& conversion, LevelFile& out) {
  const std::string& prefix = conversion.prefix;
  LevelSettings& settings = conversion.settings;
  settings.reset_to_defaults();
  const std::string config_path = find_source(prefix, suffix::kConfig);
  switch (read_level_config(config_path, settings, conversion.found, conversion.warnings)) {
    case ConfigOutcome::kMissing:
      return ConversionResult::kConfigFileMissing;
    case ConfigOutcome::kIncomplete:
      conversion.warnings.append(warning::kMissingParameters);
      break;
    case ConfigOutcome::kComplete:
      break;
  }

  const std::string image_path = find_source(prefix, suffix::kLevelImage);
  const std::string parallax_path = find_source(prefix, suffix::kParallaxImage);
  const std::string map_path = find_source(prefix, suffix::kAttributeMap);
  std::uint64_t picture_size = level_format::kMapSizeSectionSize;
  if (!settings.gg_level()) {
    const std::optional<std::uint64_t> length = picture_length(image_path);
    if (!length) return ConversionResult::kLevelJpegMissing;
    picture_size = *length;
  }
  std::uint64_t parallax_size = 0;
  if (settings.para()) {
    const std::optional<std::uint64_t> length = picture_length(parallax_path);
    if (!length) return ConversionResult::kParallaxJpegMissing;
    parallax_size = *length;
  }
  // Section offsets are 32-bit: pictures that would overflow them cannot be held.
  if (level_format::kHeaderSize + picture_size + parallax_size >
      std::numeric_limits<std::uint32_t>::max()) {
    return ConversionResult::kNotEnoughMemory;
  }
  conversion.sources_read = {config_path, map_path};
  if (!settings.gg_level()) conversion.sources_read.push_back(image_path);
  if (settings.para()) conversion.sources_read.push_back(parallax_path);

  write_header(settings, static_cast<std::uint32_t>(picture_size),
               static_cast<std::uint32_t>(parallax_size), out);
  if (settings.gg_level()) {
    const ConversionResult written = write_map_size(map_path, out);
    if (written != ConversionResult::kSuccess) return written;
  } else if (!copy_picture(image_path, picture_size, out)) {
    return ConversionResult::kLevelJpegMissing;
  }
  if (settings.para() && !copy_picture(parallax_path, parallax_size, out)) {
    return ConversionResult::kParallaxJpegMissing;
  }
  return compile_attribute_map(map_path, out, conversion);
}

}  // namespace

WriteOutcome write_level_file(Conversion& conversion) {
  conversion.warnings.reset();
  conversion.sources_read.clear();
  LevelFile out;
  const ConversionResult opened = out.open(conversion.level_file);
  if (opened != ConversionResult::kSuccess) return {opened, false};
  const ConversionResult written = write_sections(conversion, out);
  if (!out.close() && written == ConversionResult::kSuccess)
    return {ConversionResult::kCannotAccessOutput, true};
  return {written, true};
}

}  // namespace zur
