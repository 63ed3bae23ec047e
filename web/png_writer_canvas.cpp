// SPDX-License-Identifier: MIT
// The PNG writer of the browser build: the rows go to the worker's canvas
// (web/site/worker.js), which the page shows as the map view and which the
// browser's own encoder turns into a PNG when one is asked for. A canvas
// encodes only once every row is in and only asynchronously, so nothing
// reaches the byte sink: the engine's mask file stays empty and the page
// offers the canvas's picture instead.
//
// The view keeps every step-th pixel of every step-th row, the step chosen
// by the worker; those are picked here, so that only the view's own rows,
// already in the canvas's RGBA order, cross to JavaScript.
#include <emscripten.h>

#include <vector>

#include "engine/attrmap/png_writer.h"

// The step, or 0 when the view cannot be made.
EM_JS(unsigned, zur_mask_open, (unsigned width, unsigned height),
      { return Module["maskOpen"](width, height); });
EM_JS(void, zur_mask_row, (const unsigned char* rgba, unsigned width),
      { Module["maskRow"](HEAPU8.subarray(rgba, rgba + 4 * width)); });
EM_JS(int, zur_mask_finish, (), { return Module["maskFinish"]() ? 1 : 0; });

namespace zur {

struct PngWriter::Encoder {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t step = 0;
  std::uint32_t row = 0;  // the map rows written
  std::vector<std::uint8_t> view_row;
};

PngWriter::PngWriter() = default;
PngWriter::~PngWriter() = default;

bool PngWriter::open(ByteSink, std::uint32_t width, std::uint32_t height) {
  encoder_ = std::make_unique<Encoder>();
  encoder_->width = width;
  encoder_->height = height;
  encoder_->step = zur_mask_open(width, height);
  if (encoder_->step == 0) return false;
  encoder_->view_row.assign((width + encoder_->step - 1) / encoder_->step * 4, 255);
  return true;
}

bool PngWriter::write_row(const std::uint8_t* rgb) {
  if (!encoder_ || encoder_->step == 0 || encoder_->row == encoder_->height) return false;
  Encoder& view = *encoder_;
  if (view.row++ % view.step != 0) return true;
  std::uint8_t* out = view.view_row.data();
  for (std::uint32_t x = 0; x < view.width; x += view.step, out += 4) {
    const std::uint8_t* pixel = rgb + std::size_t{x} * 3;
    out[0] = pixel[0];
    out[1] = pixel[1];
    out[2] = pixel[2];
  }
  zur_mask_row(view.view_row.data(), static_cast<unsigned>(view.view_row.size() / 4));
  return true;
}

std::uint32_t PngWriter::row_step() const {
  return encoder_ && encoder_->step != 0 ? encoder_->step : 1;
}

bool PngWriter::finish() {
  if (!encoder_ || encoder_->step == 0 || encoder_->row != encoder_->height) return false;
  return zur_mask_finish() != 0;
}

}  // namespace zur
