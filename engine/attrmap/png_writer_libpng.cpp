// SPDX-License-Identifier: MIT
#include <png.h>

#include "engine/attrmap/png_writer.h"

namespace zur {
namespace {

// libpng reports a failure by a long jump back to the last setjmp, so every
// call into it runs through here; no object with a destructor lives between
// the two.
template <typename Call>
bool guarded(png_structp png, const Call& call) {
  if (setjmp(png_jmpbuf(png))) return false;
  call();
  return true;
}

}  // namespace

struct PngWriter::Encoder {
  ByteSink sink;
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::uint32_t rows_left = 0;
  bool failed = false;

  ~Encoder() { png_destroy_write_struct(&png, &info); }

  static void write(png_structp png, png_bytep bytes, png_size_t count) {
    auto* encoder = static_cast<Encoder*>(png_get_io_ptr(png));
    if (!encoder->sink(bytes, count)) png_error(png, "the encoded bytes could not be written");
  }
  static void flush(png_structp) {}
  // Failures are the caller's to report: libpng's own texts are not printed.
  [[noreturn]] static void error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
  static void warning(png_structp, png_const_charp) {}
};

PngWriter::PngWriter() = default;
PngWriter::~PngWriter() = default;

bool PngWriter::open(ByteSink sink, std::uint32_t width, std::uint32_t height) {
  encoder_ = std::make_unique<Encoder>();
  Encoder& e = *encoder_;
  e.sink = std::move(sink);
  e.rows_left = height;
  e.png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, &Encoder::error, &Encoder::warning);
  if (e.png) e.info = png_create_info_struct(e.png);
  const bool started =
      e.info && guarded(e.png, [&] {
        png_set_write_fn(e.png, &e, Encoder::write, Encoder::flush);
        png_set_IHDR(e.png, e.info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(e.png, e.info);
      });
  if (!started) encoder_.reset();
  return started;
}

bool PngWriter::write_row(const std::uint8_t* rgb) {
  if (!encoder_ || encoder_->failed || encoder_->rows_left == 0) return false;
  Encoder& e = *encoder_;
  e.failed = !guarded(e.png, [&] { png_write_row(e.png, rgb); });
  if (!e.failed) --e.rows_left;
  return !e.failed;
}

bool PngWriter::finish() {
  if (!encoder_) return false;
  Encoder& e = *encoder_;
  const bool written =
      !e.failed && e.rows_left == 0 && guarded(e.png, [&] { png_write_end(e.png, nullptr); });
  encoder_.reset();
  return written;
}

}  // namespace zur
