#include "engine/level/level_writer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <vector>

#include "engine/attrmap/compiler.h"
#include "engine/level/byte_order.h"
#include "engine/level/config_reader.h"
#include "engine/level/input_file.h"
#include "engine/level/level_file.h"
#include "engine/level/source_files.h"

namespace zur {
namespace {

constexpr std::string_view kSignature = "ZUR level file v1.4\r\n\x1A";
// With GGLEVEL yes the level picture section holds the attribute map's width
// and height, bytes 12 to 15 of its TGA header.
constexpr std::uint32_t kMapSizeSectionSize = 4;
constexpr std::size_t kMapSizeOffset = 12;
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
  InputFile map;
  if (!map.open(map_path)) return result::kAttributeMapMissing;
  if (map.size() < kMapSizeOffset + kMapSizeSectionSize) return result::kWrongTgaFormat;
  std::array<std::uint8_t, kMapSizeOffset + kMapSizeSectionSize> start{};
  if (!map.read_exact(start.data(), start.size())) return result::kAttributeMapMissing;
  out.append(start.data() + kMapSizeOffset, kMapSizeSectionSize);
  return result::kSuccess;
}

void write_header(const LevelSettings& settings, std::uint32_t picture_size,
                  std::uint32_t parallax_size, LevelFile& out) {
  std::array<std::uint8_t, 12> offsets{};
  put_le32(&offsets[0], kHeaderSize);
  put_le32(&offsets[4], kHeaderSize + picture_size);
  put_le32(&offsets[8], kHeaderSize + picture_size + parallax_size);
  out.append(kSignature.data(), kSignature.size());
  out.append(offsets.data(), offsets.size());
  out.append(settings.bytes().data(), settings.bytes().size());
}

ConversionResult write_sections(Conversion& conversion, LevelFile& out) {
  const std::string& prefix = conversion.prefix;
  LevelSettings& settings = conversion.settings;
  settings.reset_to_defaults();
  switch (read_level_config(find_source(prefix, suffix::kConfig), settings, conversion.found,
                            conversion.warnings)) {
    case result::kConfigFileMissing:
      return result::kConfigFileMissing;
    case kConfigIncomplete:
      conversion.warnings.append(warning::kMissingParameters);
      break;
    default:
      break;
  }

  const std::string image_path = find_source(prefix, suffix::kLevelImage);
  const std::string parallax_path = find_source(prefix, suffix::kParallaxImage);
  const std::string map_path = find_source(prefix, suffix::kAttributeMap);
  std::uint64_t picture_size = kMapSizeSectionSize;
  if (!settings.gg_level()) {
    const std::optional<std::uint64_t> length = picture_length(image_path);
    if (!length) return result::kLevelJpegMissing;
    picture_size = *length;
  }
  std::uint64_t parallax_size = 0;
  if (settings.para()) {
    const std::optional<std::uint64_t> length = picture_length(parallax_path);
    if (!length) return result::kParallaxJpegMissing;
    parallax_size = *length;
  }
  // Section offsets are 32-bit: pictures that would overflow them cannot be held.
  if (kHeaderSize + picture_size + parallax_size > std::numeric_limits<std::uint32_t>::max()) {
    return result::kNotEnoughMemory;
  }

  write_header(settings, static_cast<std::uint32_t>(picture_size),
               static_cast<std::uint32_t>(parallax_size), out);
  if (settings.gg_level()) {
    const ConversionResult written = write_map_size(map_path, out);
    if (written != result::kSuccess) return written;
  } else if (!copy_picture(image_path, picture_size, out)) {
    return result::kLevelJpegMissing;
  }
  if (settings.para() && !copy_picture(parallax_path, parallax_size, out)) {
    return result::kParallaxJpegMissing;
  }
  return compile_attribute_map(map_path, out, conversion);
}

}  // namespace

WriteOutcome write_level_file(Conversion& conversion) {
  conversion.warnings.reset();
  LevelFile out;
  const ConversionResult opened = out.open(conversion.prefix + std::string(suffix::kLevelFile));
  if (opened != result::kSuccess) return {opened, false};
  const ConversionResult written = write_sections(conversion, out);
  if (!out.close() && written == result::kSuccess) return {result::kCannotAccessOutput, true};
  return {written, true};
}

}  // namespace zur
