// SPDX-License-Identifier: MIT
// A picture painted into a PNG file: the rows are encoded as they come and
// the bytes written through the output component, which puts the file in
// place only once the picture is complete.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "engine/attrmap/png_writer.h"
#include "engine/base/output_file.h"
#include "engine/base/platform.h"
#include "zur/row_sink.h"

namespace zur {

class PngFile : public RowSink {
 public:
  // Written through `system`, which must outlive it.
  explicit PngFile(platform::System& system) : file_(system) {}

  // Opens `path` as an output file that is none of `others`; why not, when
  // it is refused or cannot be created.
  Status open(const std::string& path, std::span<const std::string> others);

  std::uint32_t start(std::uint32_t width, std::uint32_t height) override;
  void row(const std::uint8_t* rgb) override;
  bool finish() override;

  // Puts the complete picture in place; why not, when it was not painted
  // whole or a write failed (nothing is then put in place). A file not
  // closed is discarded.
  Status close();

 private:
  OutputFile file_;
  PngWriter writer_;
  std::uint64_t written_ = 0;
  bool encoded_ = false;  // the encoder made the whole picture
};

}  // namespace zur
