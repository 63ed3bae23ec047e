// SPDX-License-Identifier: MIT
#include "engine/attrmap/png_file.h"

namespace zur {

Status PngFile::open(const std::string& path, std::span<const std::string> others) {
  return file_.open(path, others);
}

std::uint32_t PngFile::start(std::uint32_t width, std::uint32_t height) {
  const ByteSink sink = [this](const std::uint8_t* bytes, std::size_t count) {
    file_.write_at(written_, bytes, count);
    written_ += count;
    return !file_.failed();
  };
  return writer_.open(sink, width, height) ? 1 : 0;
}

void PngFile::row(const std::uint8_t* rgb) {
  writer_.write_row(rgb);
}

bool PngFile::finish() {
  encoded_ = writer_.finish();
  return encoded_;
}

Status PngFile::close() {
  // A picture the encoder gave up on is not put in place either.
  if (!encoded_ && !file_.failed()) {
    return Error{"cannot write", file_.path(), "the picture could not be encoded", {}, {}};
  }
  return file_.commit();
}

}  // namespace zur
