// SPDX-License-Identifier: MIT
// The PNG writer of the browser build: the rows go to the worker's canvas
// (web/site/worker.js), which the page shows as the map view and which the
// browser's own encoder turns into a PNG when one is asked for. A canvas
// encodes only once every row is in and only asynchronously, so nothing
// reaches the byte sink: the engine's mask file stays empty and the page
// offers the canvas's picture instead.
#include <emscripten.h>

#include "engine/attrmap/png_writer.h"

EM_JS(int, zur_mask_open, (unsigned width, unsigned height),
      { return Module["maskOpen"](width, height) ? 1 : 0; });
EM_JS(void, zur_mask_row, (const unsigned char* rgb, unsigned width),
      { Module["maskRow"](HEAPU8.subarray(rgb, rgb + 3 * width)); });
EM_JS(int, zur_mask_finish, (), { return Module["maskFinish"]() ? 1 : 0; });

namespace zur {

struct PngWriter::Encoder {
  std::uint32_t width = 0;
  bool failed = false;
};

PngWriter::PngWriter() = default;
PngWriter::~PngWriter() = default;

bool PngWriter::open(ByteSink, std::uint32_t width, std::uint32_t height) {
  encoder_ = std::make_unique<Encoder>();
  encoder_->width = width;
  encoder_->failed = zur_mask_open(width, height) == 0;
  return !encoder_->failed;
}

bool PngWriter::write_row(const std::uint8_t* rgb) {
  if (!encoder_ || encoder_->failed) return false;
  zur_mask_row(rgb, encoder_->width);
  return true;
}

bool PngWriter::finish() {
  if (!encoder_ || encoder_->failed) return false;
  encoder_->failed = zur_mask_finish() == 0;
  return !encoder_->failed;
}

}  // namespace zur
