#include "engine/attrmap/attribute_stream.h"

#include <numeric>

#include "engine/level/byte_order.h"

namespace zur {

void AttributePacker::finish() {
  if (pending_ != kNoRun) write_run(static_cast<std::uint8_t>(pending_), run_length_);
  write_batch();
  out_.append(kEndToken.data(), kEndToken.size());
}

PackStats AttributePacker::stats() const {
  PackStats stats;
  stats.packed = tokens_ * std::int64_t{kRunTokenSize};
  // Every pixel added is in a written run once the stream is finished.
  stats.unpacked = std::accumulate(histogram_.begin(), histogram_.end(), std::int64_t{0});
  stats.histogram = histogram_;
  return stats;
}

void AttributePacker::write_batch() {
  std::array<std::uint8_t, kBatchTokens * kRunTokenSize> bytes;
  for (std::size_t i = 0; i < batched_; ++i) put_le16(&bytes[i * kRunTokenSize], batch_[i]);
  out_.append(bytes.data(), batched_ * kRunTokenSize);
  tokens_ += static_cast<std::int64_t>(batched_);
  batched_ = 0;
}

}  // namespace zur
