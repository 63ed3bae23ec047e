// SPDX-License-Identifier: MIT
#include "engine/attrmap/attribute_stream.h"

#include <algorithm>

namespace zur {

void AttributePacker::finish() {
  if (pending_ != kNoRun) write_run(static_cast<std::uint8_t>(pending_), run_length_);
  write_batch();
  out_.append(kEndToken.data(), kEndToken.size());
}

namespace {

bool each_differs_from_the_one_before(const std::uint8_t* codes, std::size_t count) {
  // Not stopped at the first equal pair, so that it vectorises.
  std::uint8_t equal = 0;
  for (std::size_t i = 1; i < count; ++i) equal |= codes[i] == codes[i - 1];
  return equal == 0;
}

}  // namespace

void AttributePacker::add_codes(const std::uint8_t* codes, std::size_t count) {
  if (count > 0 && pending_ == kNoRun) pending_ = codes[0];
  while (count > 0) {
    // A part of n codes ends at most n runs, so the batch cannot fill inside it.
    const std::size_t part = std::min(count, kBatchTokens);
    if (kBatchTokens - batched_ < part) write_batch();
    auto pending = static_cast<std::uint8_t>(pending_);
    std::uint32_t length = run_length_;
    std::size_t batched = batched_;
    std::size_t i = 0;
    if (part > 1 && each_differs_from_the_one_before(codes, part)) {
      // Noise: every pixel after the first is a run of one, ended by the next.
      if (codes[0] != pending || length == kMaxRunLength) {
        batch_[batched++] = stored_token(pending, length);
        length = 0;
      }
      batch_[batched++] = stored_token(codes[0], length + 1);
      for (i = 1; i + 1 < part; ++i) batch_[batched++] = stored_token(codes[i], 1);
      pending = codes[part - 1];
      length = 1;
      i = part;
    }
    for (; i < part; ++i) {
      const std::uint8_t code = codes[i];
      if (code != pending || length == kMaxRunLength) {
        batch_[batched++] = stored_token(pending, length);
        pending = code;
        length = 0;
      }
      ++length;
    }
    pending_ = pending;
    run_length_ = length;
    batched_ = batched;
    if (batched_ == kBatchTokens) write_batch();  // as write_run leaves it
    codes += part;
    count -= part;
  }
}

void AttributePacker::write_batch() {
  static_assert(sizeof batch_[0] == kRunTokenSize);
  out_.append(batch_.data(), batched_ * kRunTokenSize);
  tokens_ += static_cast<std::int64_t>(batched_);
  batched_ = 0;
}

}  // namespace zur
