// SPDX-License-Identifier: MIT
// The level file's container: the header (signature, three section offsets,
// settings record) and the sections that follow it in this order: level
// picture, parallax picture, then the object section and the packed
// attribute stream, which the attribute map compiler appends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/conversion/settings.h"

namespace zur {

// A level's files are named by its prefix and these suffixes.
namespace suffix {
inline constexpr std::string_view kConfig = ".TXT";
inline constexpr std::string_view kLevelImage = ".JPG";
inline constexpr std::string_view kParallaxImage = "P.JPG";
inline constexpr std::string_view kAttributeMap = ".TGA";
inline constexpr std::string_view kLevelFile = ".lev";
}  // namespace suffix

namespace level_format {

inline constexpr std::string_view kSignature = "ZUR level file v1.4\r\n\x1A";

// Each offset is a little-endian 32-bit count of bytes from the file's start.
inline constexpr std::size_t kOffsetSize = 4;
inline constexpr std::size_t kPictureOffsetAt = kSignature.size();
inline constexpr std::size_t kParallaxOffsetAt = kPictureOffsetAt + kOffsetSize;
inline constexpr std::size_t kObjectsOffsetAt = kParallaxOffsetAt + kOffsetSize;
inline constexpr std::size_t kSettingsAt = kObjectsOffsetAt + kOffsetSize;
inline constexpr std::uint32_t kHeaderSize = kSettingsAt + LevelSettings::kSize;
static_assert(kHeaderSize == 958);

// With GGLEVEL yes the level picture section holds the attribute map's
// width and height instead of a picture: two little-endian 16-bit numbers.
inline constexpr std::uint32_t kMapSizeSectionSize = 4;

}  // namespace level_format
}  // namespace zur
