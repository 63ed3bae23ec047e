// SPDX-License-Identifier: MIT
// The parts of the platform seam that are built from its other calls, the
// same on every system.
#include "engine/level/shared/platform.h"

namespace zur::platform {

std::error_code TemporaryFile::read_at(std::uint64_t offset, void* into, std::size_t count) {
  auto* bytes = static_cast<std::uint8_t*>(into);
  while (count > 0) {
    std::size_t got = 0;
    if (const std::error_code error = platform::read_at(file_, offset, bytes, count, got)) {
      return error;
    }
    if (got == 0) return std::make_error_code(std::errc::io_error);
    bytes += got;
    offset += got;
    count -= got;
  }
  return {};
}

}  // namespace zur::platform
