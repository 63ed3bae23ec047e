// SPDX-License-Identifier: MIT
// png_pixels PICTURE.png OUT: writes the picture's width and height on a
// line, then its pixels as red, green, blue bytes, so that two PNGs can be
// compared by what they show rather than by how they were encoded.
#include <fstream>
#include <iterator>

#include "tests/support/png_reader.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  const std::optional<zur::test::RgbPicture> picture = zur::test::decode_png(bytes);
  if (!picture) return 1;
  std::ofstream out(argv[2], std::ios::binary);
  out << picture->width << ' ' << picture->height << '\n';
  out.write(reinterpret_cast<const char*>(picture->rgb.data()),
            static_cast<std::streamsize>(picture->rgb.size()));
  return out ? 0 : 1;
}
