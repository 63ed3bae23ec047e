// SPDX-License-Identifier: MIT
// Reading back what a conversion wrote: the object section and the packed
// attribute stream of a level file, decoded by hand so that tests compare
// with the format itself and not with the engine's own code. Also runs the
// attribute map compiler's pieces on a map in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/map_pass.h"
#include "engine/attrmap/row_source.h"
#include "engine/conversion/level_file.h"
#include "engine/level/batch.h"
#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"

namespace zur::test {

// The little-endian 32-bit number at `offset`, read by hand; the one reader
// of it for every test. Fails the test, and gives 0, past the bytes' end.
inline std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4) {
    ADD_FAILURE() << "no 4 bytes at " << offset << " of " << bytes.size();
    return 0;
  }
  return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
         std::uint32_t{bytes[offset + 2]} << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

struct Run {
  int code;
  int length;
  bool operator==(const Run&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Run& run) {
  return out << "{code " << run.code << ", length " << run.length << "}";
}

// The runs of a packed attribute stream, and whether the end token FF FF
// closed it as the very last two bytes.
struct DecodedStream {
  std::vector<Run> runs;
  bool ended = false;
};

inline DecodedStream decode_stream(const std::vector<std::uint8_t>& bytes) {
  DecodedStream decoded;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xFF) {
      decoded.ended = i + 2 == bytes.size();
      return decoded;
    }
    decoded.runs.push_back({bytes[i] >> 2, bytes[i + 1] * 4 + (bytes[i] & 3)});
  }
  return decoded;
}

// One code per pixel, in scan order.
inline std::vector<int> expand_runs(const std::vector<Run>& runs) {
  std::vector<int> codes;
  for (const Run& run : runs)
    codes.insert(codes.end(), static_cast<std::size_t>(run.length), run.code);
  return codes;
}

// The parts of a level file that the attribute map compiler appended.
struct CompiledParts {
  std::vector<std::uint8_t> objects;  // count and records
  std::vector<std::uint8_t> stream;   // runs and end token
};

// Offsets of the level file header: signature, then three section offsets,
// the third naming the object section.
inline constexpr std::size_t kObjectSectionOffsetField = 30;
inline constexpr std::size_t kObjectRecordBytes = 20;

inline CompiledParts split_level_file(const std::vector<std::uint8_t>& level) {
  const std::size_t objects_at = le32(level, kObjectSectionOffsetField);
  const std::size_t stream_at = objects_at + 4 + kObjectRecordBytes * le32(level, objects_at);
  if (stream_at > level.size()) {
    ADD_FAILURE() << "object section runs past the end of the level file";
    return {};
  }
  return {{level.begin() + static_cast<std::ptrdiff_t>(objects_at),
           level.begin() + static_cast<std::ptrdiff_t>(stream_at)},
          {level.begin() + static_cast<std::ptrdiff_t>(stream_at), level.end()}};
}

// The 20 bytes of object record `index` of an object section.
inline std::vector<std::uint8_t> object_record(const std::vector<std::uint8_t>& objects,
                                               std::size_t index) {
  const auto start = objects.begin() + static_cast<std::ptrdiff_t>(4 + kObjectRecordBytes * index);
  return {start, start + kObjectRecordBytes};
}

// The bytes that `write` appends to a fresh level file.
inline std::vector<std::uint8_t> appended_bytes(const TempDir& dir,
                                                const std::function<void(LevelFile&)>& write) {
  {
    LevelFile out(platform::default_system());
    EXPECT_EQ(out.open((dir.path() / "out.bin").string()), ConversionResult::kSuccess);
    write(out);
    EXPECT_TRUE(out.commit());
  }
  return dir.read("out.bin");
}

// The header of `map` as the engine reads it from memory.
inline MapHeader header_of(const std::vector<std::uint8_t>& file) {
  MapMemory bytes(file);
  MapHeader header;
  EXPECT_EQ(read_map_header(bytes, header), ConversionResult::kSuccess) << "reading the header";
  return header;
}

// What the one pass over a map found, and the stream it packed.
struct ScannedMap {
  ConversionResult result = ConversionResult::kSuccess;
  std::unique_ptr<MapFindings> findings = std::make_unique<MapFindings>();
  std::vector<std::uint8_t> stream;
};

// Runs the pass over `map` from memory, `block_bytes` at a time.
inline ScannedMap scan_map(const TgaBuilder& map, std::size_t block_bytes = kMapBlockBytes) {
  const std::vector<std::uint8_t> file = map.bytes();
  const MapHeader header = header_of(file);
  MapMemory bytes(file);
  RowSource rows(header, bytes, block_bytes);
  ScannedMap scanned;
  TempDir dir;
  ScriptedPrompts prompts;
  const MillisecondClock standing_still = [] { return 0u; };
  PassProgress progress(prompts, standing_still, header.width, header.height);
  scanned.stream = appended_bytes(dir, [&](LevelFile& out) {
    scanned.result = scan_attribute_map(header, rows, *scanned.findings, out, progress);
  });
  return scanned;
}

// Converts a level "level" with this attribute map in a fresh folder, with
// a clock that stands still; its level file, or nothing when the conversion
// did not give `expected`.
inline std::vector<std::uint8_t> convert_map(
    const TgaBuilder& map, ScriptedPrompts& prompts,
    ConversionResult expected = ConversionResult::kSuccess) {
  TempDir dir;
  write_level(dir, "level", map);
  Converter converter(prompts, platform::default_system(), [] { return 0u; });
  const ConversionResult converted = converter.run_job(dir.prefix("level"));
  EXPECT_EQ(converted, expected) << "converting the level";
  if (converted != expected || !dir.exists("level.lev")) return {};
  return dir.read("level.lev");
}

inline CompiledParts compile_map(const TgaBuilder& map) {
  ScriptedPrompts prompts;
  const std::vector<std::uint8_t> level = convert_map(map, prompts);
  if (level.empty()) return {};
  return split_level_file(level);
}

}  // namespace zur::test
