// SPDX-License-Identifier: MIT
// The PNG writer of a build without a PNG encoder (the browser's): every
// picture is refused at its start, so a PNG file asked for is reported as
// not encoded rather than written wrong.
#include "engine/attrmap/png_writer.h"

namespace zur {

struct PngWriter::Encoder {};

PngWriter::PngWriter() = default;
PngWriter::~PngWriter() = default;

bool PngWriter::open(ByteSink, std::uint32_t, std::uint32_t) {
  return false;
}

bool PngWriter::write_row(const std::uint8_t*) {
  return false;
}

bool PngWriter::finish() {
  return false;
}

}  // namespace zur
