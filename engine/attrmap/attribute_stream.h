// Pass 2: every pixel's colour becomes an attribute code, and the codes in
// scan order are packed into the level file as run tokens (run_token.h),
// ended by the end token. Runs continue across row ends.
#pragma once

#include <array>
#include <cstdint>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/run_token.h"
#include "engine/level/level_file.h"
#include "engine/level/prompts.h"
#include "engine/level/result.h"
#include "engine/level/warnings.h"

namespace zur {

struct PackStats {
  std::int64_t packed = 0;                    // bytes of runs written, end token not counted
  std::int64_t unpacked = 0;                  // pixels the runs cover
  std::array<std::int64_t, 256> histogram{};  // pixels per attribute code
};

// Turns pixel codes into runs, splitting long runs at the length limit.
class AttributePacker {
 public:
  explicit AttributePacker(LevelFile& out) : out_(out) {}

  void add(std::uint8_t code, std::uint32_t pixels);
  // Writes the pending run, if any pixel was added, and the end token.
  void finish();

  const PackStats& stats() const { return stats_; }

 private:
  static constexpr int kNoRun = -1;

  void write_run(std::uint8_t code, std::uint32_t length);

  LevelFile& out_;
  int pending_ = kNoRun;
  std::uint32_t run_length_ = 0;
  PackStats stats_;
};

// Packs the map after pass 1. At the first illegal colour the user is warned
// and asked whether to go on with illegal colours as air; on No the result is
// ConversionResult::kIllegalColours and the stream is left unfinished.
ConversionResult pack_attribute_map(AttributeMap& map, LevelFile& out, WarningList& warnings,
                                    UserPrompts& prompts, PackStats& stats);

}  // namespace zur
