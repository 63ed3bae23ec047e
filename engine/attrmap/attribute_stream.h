// SPDX-License-Identifier: MIT
// The packed attribute stream: the pixels' attribute codes in scan order,
// packed as run tokens (run_token.h) and ended by the end token. Runs
// continue across row ends.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/attrmap/palette.h"
#include "engine/attrmap/run_token.h"
#include "engine/base/byte_order.h"
#include "engine/conversion/level_file.h"

namespace zur {

struct PackStats {
  std::int64_t packed = 0;    // bytes of runs written, end token not counted
  std::int64_t unpacked = 0;  // pixels the runs cover
  CodeCounts histogram{};     // pixels per attribute code
};

// Turns pixel codes into runs, splitting long runs at the length limit; the
// pixels are counted by whoever classifies them.
// Tokens are gathered as numbers in the stream's byte order and written out
// a batch at a time: byte stores per token would make the compiler reload
// the packer's state after each one, as bytes may alias anything.
class AttributePacker {
 public:
  explicit AttributePacker(LevelFile& out) : out_(out) {}

  // Inline, as it runs once per run of pixels and a noise map is one run per
  // pixel.
  void add(std::uint8_t code, std::uint32_t pixels) {
    if (pending_ != code) {
      if (pending_ != kNoRun) write_run(static_cast<std::uint8_t>(pending_), run_length_);
      pending_ = code;
      run_length_ = 0;
    }
    run_length_ += pixels;
    // A full run is written only once a further pixel arrives for it.
    while (run_length_ > kMaxRunLength) {
      [[unlikely]] write_run(code, kMaxRunLength);
      run_length_ -= kMaxRunLength;
    }
  }

  // Adds one pixel of each code, as add(code, 1) for each would, with the
  // packer's state held in locals: a noise map is one run per pixel.
  void add_codes(const std::uint8_t* codes, std::size_t count);

  // Writes the pending run, if any pixel was added, and the end token.
  void finish();

  // Bytes of runs written, end token not counted; complete once finish() has run.
  std::int64_t packed_bytes() const { return tokens_ * std::int64_t{kRunTokenSize}; }

 private:
  static constexpr int kNoRun = -1;
  static constexpr std::size_t kBatchTokens = 4096;

  static std::uint16_t stored_token(std::uint8_t code, std::uint32_t length) {
    return in_le16_order(run_token(code, length));
  }
  void write_run(std::uint8_t code, std::uint32_t length) {
    batch_[batched_++] = stored_token(code, length);
    if (batched_ == kBatchTokens) [[unlikely]]
      write_batch();
  }
  void write_batch();

  LevelFile& out_;
  int pending_ = kNoRun;
  std::uint32_t run_length_ = 0;
  std::int64_t tokens_ = 0;  // written out before the batch
  std::size_t batched_ = 0;
  std::array<std::uint16_t, kBatchTokens> batch_;  // tokens as stored
};

}  // namespace zur
