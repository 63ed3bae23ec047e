// SPDX-License-Identifier: MIT
#include "engine/level/level_writer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <new>
#include <vector>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/compiler.h"
#include "engine/base/byte_order.h"
#include "engine/base/input_file.h"
#include "engine/base/platform.h"
#include "engine/conversion/level_file.h"
#include "engine/conversion/level_format.h"
#include "engine/level/config_reader.h"
#include "engine/level/source_files.h"

namespace zur {
namespace {

constexpr std::size_t kCopyBlockSize = std::size_t{1} << 20;

// The length of a picture; false when it cannot be opened.
bool picture_length(const std::string& path, std::uint64_t& length, platform::System& system) {
  InputFile picture(system);
  if (!picture.open(path).ok()) return false;
  length = picture.size();
  return true;
}

// Copies exactly `length` bytes of the picture, the length the header's
// offsets were computed from; false when it can no longer be read in full.
bool copy_picture(const std::string& path, std::uint64_t length, LevelFile& out,
                  platform::System& system) {
  InputFile picture(system);
  if (!picture.open(path).ok()) return false;
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
ConversionResult write_map_size(const std::string& map_path, LevelFile& out,
                                platform::System& system) {
  MapSizeSection section;
  const ConversionResult read = read_map_size_section(map_path, section, system);
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

// False, with the reason told, when the lookup could not choose among the
// names of `source`: the conversion then fails as if it were missing.
bool chosen(const FoundSources& sources, const SourceFile& source, Conversion& conversion) {
  const FoundSource& found = sources[source.index];
  if (found.ambiguous()) conversion.reasons.push_back(found.ambiguity());
  return !found.ambiguous();
}

ConversionResult write_sections(Conversion& conversion, const FoundSources& sources,
                                LevelFile& out) {
  const SourceFile& config = kSourceFiles[source::kConfig];
  const SourceFile& map_file = kSourceFiles[source::kAttributeMap];
  const SourceFile& image = kSourceFiles[source::kLevelImage];
  const SourceFile& parallax = kSourceFiles[source::kParallaxImage];
  const std::string& map = sources[map_file.index].path;
  LevelSettings& settings = conversion.settings;
  platform::System& system = conversion.system;
  settings.reset_to_defaults();
  if (!chosen(sources, config, conversion)) return config.missing;
  switch (read_level_config(sources[config.index].path, settings, conversion.found,
                            conversion.warnings, system)) {
    case ConfigOutcome::kMissing:
      return config.missing;
    case ConfigOutcome::kIncomplete:
      conversion.warnings.append(warning::kMissingParameters);
      break;
    case ConfigOutcome::kComplete:
      break;
  }

  // Without a level picture its section holds the map's size.
  std::uint64_t picture_size = level_format::kMapSizeSectionSize;
  std::uint64_t parallax_size = 0;
  if (image.needed(settings) &&
      (!chosen(sources, image, conversion) ||
       !picture_length(sources[image.index].path, picture_size, system))) {
    return image.missing;
  }
  if (parallax.needed(settings) &&
      (!chosen(sources, parallax, conversion) ||
       !picture_length(sources[parallax.index].path, parallax_size, system))) {
    return parallax.missing;
  }
  // Section offsets are 32-bit: pictures that would overflow them cannot be held.
  if (level_format::kHeaderSize + picture_size + parallax_size >
      std::numeric_limits<std::uint32_t>::max()) {
    return ConversionResult::kNotEnoughMemory;
  }
  // The map is read after the pictures, but a name the lookup could not
  // choose is told before anything is written.
  if (!chosen(sources, map_file, conversion)) return map_file.missing;
  for (const SourceFile& file : kSourceFiles) {
    if (file.needed(settings)) conversion.sources_read.push_back(sources[file.index].path);
  }

  write_header(settings, static_cast<std::uint32_t>(picture_size),
               static_cast<std::uint32_t>(parallax_size), out);
  if (!image.needed(settings)) {
    const ConversionResult written = write_map_size(map, out, system);
    if (written != ConversionResult::kSuccess) return written;
  } else if (!copy_picture(sources[image.index].path, picture_size, out, system)) {
    return image.missing;
  }
  if (parallax.needed(settings) &&
      !copy_picture(sources[parallax.index].path, parallax_size, out, system)) {
    return parallax.missing;
  }
  return compile_attribute_map(map, out, conversion);
}

// A failed conversion leaves no level file, not even the old one. An old
// one that stays is told, with the reason: the game would load it.
void remove_failed_level(Conversion& conversion) {
  const std::string& path = conversion.level_file;
  const std::error_code error = conversion.system.remove_file(path);
  platform::FileStatus left;
  if (error &&
      (conversion.system.file_status(path, left) || left.kind != platform::FileKind::kMissing)) {
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
    const FoundSources sources =
        find_sources({conversion.prefix, conversion.config_suffix}, conversion.system);
    LevelFile out(conversion.system);
    result = out.open(conversion.level_file, source_paths(sources));
    opened = result == ConversionResult::kSuccess;
    // The compiler puts the level in place before its report.
    if (opened) result = write_sections(conversion, sources, out);
    if (!out.status().ok()) conversion.reasons.push_back(out.status().error());
  } catch (const std::bad_alloc&) {
    result = ConversionResult::kNotEnoughMemory;
  }
  // One that could not be opened was never touched.
  if (result != ConversionResult::kSuccess && opened) remove_failed_level(conversion);
  return result;
}

}  // namespace zur
