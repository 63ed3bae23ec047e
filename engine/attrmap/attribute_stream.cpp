#include "engine/attrmap/attribute_stream.h"

namespace zur {

void AttributePacker::finish() {
  if (pending_ != kNoRun) write_run(static_cast<std::uint8_t>(pending_), run_length_);
  out_.append(kEndToken.data(), kEndToken.size());
}

}  // namespace zur
