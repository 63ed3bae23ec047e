// The packed attribute stream: the pixels' attribute codes in scan order,
// packed as run tokens (run_token.h) and ended by the end token. Runs
// continue across row ends.
#pragma once

#include <array>
#include <cstdint>

#include "engine/attrmap/run_token.h"
#include "engine/attrmap/spill_buffer.h"
#include "engine/level/byte_order.h"

namespace zur {

struct PackStats {
  std::int64_t packed = 0;                    // bytes of runs written, end token not counted
  std::int64_t unpacked = 0;                  // pixels the runs cover
  std::array<std::int64_t, 256> histogram{};  // pixels per attribute code
};

// Turns pixel codes into runs, splitting long runs at the length limit.
class AttributePacker {
 public:
  explicit AttributePacker(SpillBuffer& out) : out_(out) {}

  // Inline, with write_run, as it runs once per run of pixels and a noise map
  // is one run per pixel.
  void add(std::uint8_t code, std::uint32_t pixels) {
    if (pending_ != code) {
      if (pending_ != kNoRun) write_run(static_cast<std::uint8_t>(pending_), run_length_);
      pending_ = code;
      run_length_ = 0;
    }
    stats_.histogram[code] += pixels;
    run_length_ += pixels;
    // A full run is written only once a further pixel arrives for it.
    while (run_length_ > kMaxRunLength) {
      [[unlikely]] write_run(code, kMaxRunLength);
      run_length_ -= kMaxRunLength;
    }
  }

  // Writes the pending run, if any pixel was added, and the end token.
  void finish();

  const PackStats& stats() const { return stats_; }

 private:
  static constexpr int kNoRun = -1;

  void write_run(std::uint8_t code, std::uint32_t length) {
    // Made as one 16-bit value: a token stored byte by byte and then copied
    // out as a whole stalls every run on the store.
    std::uint8_t token[kRunTokenSize];
    put_le16(token, run_token(code, length));
    out_.append(token, sizeof token);
    stats_.packed += kRunTokenSize;
    stats_.unpacked += length;
  }

  SpillBuffer& out_;
  int pending_ = kNoRun;
  std::uint32_t run_length_ = 0;
  PackStats stats_;
};

}  // namespace zur
