// SPDX-License-Identifier: MIT
#include "engine/level/jpeg_size.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zur {
namespace {

std::vector<std::uint8_t> bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

const std::string kSoi = "\xFF\xD8";
const std::string kApp0 = std::string("\xFF\xE0\x00\x04\x01\x02", 6);
const std::string kDht = std::string("\xFF\xC4\x00\x03\x00", 5);
// Frame header: 0x0280 = 640 wide, 0x01E0 = 480 high.
std::string frame(char marker) {
  return std::string("\xFF", 1) + marker +
         std::string("\x00\x0B\x08\x01\xE0\x02\x80\x01\x01\x11\x00", 11);
}

TEST(JpegStart, StartOfImageThenAMarker) {
  const struct {
    std::vector<std::uint8_t> bytes;
    bool jpeg;
  } cases[] = {
      {{0xFF, 0xD8, 0xFF}, true},  {{0xFF, 0xD8, 0xFF, 0xE0}, true}, {{0xFF, 0xD8}, false},
      {{0xFF, 0xD8, 0x00}, false}, {{0xFF, 0xD9, 0xFF}, false},      {{}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(has_jpeg_start(c.bytes), c.jpeg) << c.bytes.size() << " bytes";
  }
}

TEST(JpegFrameSize, ReadsTheFirstFrameHeader) {
  const struct {
    std::string what, file;
    bool found;
  } cases[] = {
      {"baseline", kSoi + frame('\xC0'), true},
      {"progressive after APP0 and fill bytes", kSoi + kApp0 + "\xFF" + frame('\xC2'), true},
      {"DHT is not a frame header", kSoi + kDht + frame('\xC1'), true},
      {"only DHT", kSoi + kDht, false},
      {"scan before any frame", kSoi + std::string("\xFF\xDA\x00\x02", 4) + frame('\xC0'), false},
      {"cut in the frame header", (kSoi + frame('\xC0')).substr(0, 9), false},
      {"segment longer than the file", kSoi + std::string("\xFF\xE0\x01\x00", 4), false},
      {"not a JPEG", "GIF89a", false},
      {"empty", "", false},
  };
  for (const auto& c : cases) {
    const std::optional<JpegSize> size = jpeg_frame_size(bytes(c.file));
    ASSERT_EQ(size.has_value(), c.found) << c.what;
    if (size) {
      EXPECT_EQ(size->width * 1000 + size->height, 640480) << c.what;
    }
  }
}

}  // namespace
}  // namespace zur
