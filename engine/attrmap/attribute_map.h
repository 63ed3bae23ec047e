// SPDX-License-Identifier: MIT
// The attribute map: an uncompressed 24-bit TGA whose pixels classify every
// pixel of the level. Its header is checked against the file's length before
// any pixel is read; the pixels are then read a block of rows at a time
// (row_source.h), never held whole.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <system_error>

#include "engine/attrmap/tga.h"
#include "engine/base/input_file.h"
#include "engine/base/platform.h"
#include "engine/conversion/level_format.h"
#include "engine/conversion/result.h"

namespace zur {

// What the header says about the pixels, once checked against the file.
using MapHeader = tga::Header;

// The attribute map's bytes by position, from a file or from memory.
class MapBytes {
 public:
  virtual ~MapBytes() = default;
  virtual std::uint64_t size() const = 0;
  // False when the `count` bytes at `offset` cannot all be read.
  virtual bool read_at(std::uint64_t offset, std::uint8_t* into, std::size_t count) = 0;
};

// Read through `system`, which must outlive it.
class MapFile : public MapBytes {
 public:
  explicit MapFile(platform::System& system) : file_(system) {}
  // Fails when the file does not exist or cannot be opened for reading.
  Status open(const std::string& path) { return file_.open(path); }
  std::uint64_t size() const override { return file_.size(); }
  bool read_at(std::uint64_t offset, std::uint8_t* into, std::size_t count) override {
    return file_.read_at(offset, into, count);
  }

 private:
  InputFile file_;
};

// The bytes of a whole TGA file in memory, which must outlive this object.
class MapMemory : public MapBytes {
 public:
  explicit MapMemory(std::span<const std::uint8_t> file) : file_(file) {}
  std::uint64_t size() const override { return file_.size(); }
  bool read_at(std::uint64_t offset, std::uint8_t* into, std::size_t count) override;

 private:
  std::span<const std::uint8_t> file_;
};

// ConversionResult::kSuccess with `header` filled, or the failure's result:
// the header cannot be read (kAttributeMapMissing), not 24 bits per pixel
// (kIllegalBitDepth), or not an uncompressed TGA with a plain row order, or
// too short for the fields and pixels it announces (kWrongTgaFormat). Reads
// the header only: what the pixels take is known from it and the file's size.
ConversionResult read_map_header(MapBytes& map, MapHeader& header);

// The header's first failed check, in the TGA component's words ("not 24
// bits per pixel"), for a check that names what is wrong rather than the
// conversion's result; nothing when the header cannot be read. `header` is
// filled when the fault is kNone.
struct MapHeaderFault {
  tga::Fault fault = tga::Fault::kNone;
  std::string text;    // empty for kNone
  std::string remedy;  // tga::fault_remedy's, often empty
};
std::optional<MapHeaderFault> check_map_header(MapBytes& map, MapHeader& header);

// Opens the file and reads its header: as above, and kAttributeMapMissing
// when the file cannot be opened.
ConversionResult open_attribute_map(const std::string& path, MapFile& map, MapHeader& header);

// The map's width and height as the GGLEVEL level picture section holds them:
// the TGA header's two size fields as they stand. kAttributeMapMissing when
// the file cannot be read, kWrongTgaFormat when it is too short for them.
using MapSizeSection = std::array<std::uint8_t, level_format::kMapSizeSectionSize>;
ConversionResult read_map_size_section(const std::string& path, MapSizeSection& section,
                                       platform::System& system);

}  // namespace zur
