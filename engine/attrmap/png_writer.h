// SPDX-License-Identifier: MIT
// A PNG encoder fed one row at a time, so a picture of any size needs the
// memory of a row or so: 8-bit RGB, top row first. The encoded bytes go to a
// byte sink as they are made. Built on libpng, or on Windows on the Windows
// Imaging Component; CMake builds one (in the browser's build, none that
// encodes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace zur {

// Takes the next encoded bytes; false when they could not be written.
using ByteSink = std::function<bool(const std::uint8_t* bytes, std::size_t count)>;

class PngWriter {
 public:
  PngWriter();
  ~PngWriter();
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;

  // Starts a picture of width x height pixels (both at least 1); false when
  // the encoder cannot start. `sink` is called until finish() returns.
  bool open(ByteSink sink, std::uint32_t width, std::uint32_t height);
  // The next row, top first: width red, green, blue triples. False once any
  // step failed; the rest is then ignored.
  bool write_row(const std::uint8_t* rgb);
  // Ends the picture, whose rows must all have been written; false when any
  // step failed (what the sink took is then not a whole picture).
  bool finish();

 private:
  struct Encoder;
  std::unique_ptr<Encoder> encoder_;
};

}  // namespace zur
