// SPDX-License-Identifier: MIT
// png_pixels PICTURE.png OUT: writes the picture's width and height on a
// line, then its pixels as red, green, blue bytes, so that two PNGs can be
// compared by what they show rather than by how they were encoded. On
// failure it says which step failed, so that the caller can tell a file it
// could not read from one that does not decode.
#include <fstream>
#include <iostream>
#include <iterator>

#include "tests/support/png_reader.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  if (!in.is_open() || in.bad()) {
    std::cerr << "png_pixels: cannot read " << argv[1] << '\n';
    return 1;
  }
  const std::optional<zur::test::RgbPicture> picture = zur::test::decode_png(bytes);
  if (!picture) {
    std::cerr << "png_pixels: " << argv[1] << " (" << bytes.size() << " bytes) does not decode\n";
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out << picture->width << ' ' << picture->height << '\n';
  out.write(reinterpret_cast<const char*>(picture->rgb.data()),
            static_cast<std::streamsize>(picture->rgb.size()));
  // The last bytes are written when the file closes.
  out.close();
  if (!out) {
    std::cerr << "png_pixels: cannot write " << argv[2] << '\n';
    return 1;
  }
  return 0;
}
