// SPDX-License-Identifier: MIT
#include "prompt_box.h"

#include <algorithm>
#include <vector>

namespace zur::dialog {
namespace {

constexpr int kLineCharacters = 70;

bool continues_character(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The places in `line` where a character ends, in order.
std::vector<std::size_t> character_ends(std::string_view line) {
  std::vector<std::size_t> ends;
  for (std::size_t i = 1; i <= line.size(); ++i) {
    if (i == line.size() || !continues_character(line[i])) ends.push_back(i);
  }
  return ends;
}

// The length of the longest start of `line` that fits `width`, whole
// characters only; at least one character of a line that has one.
// Galloping keeps every text measured within twice a line's length.
std::size_t fitting_length(std::string_view line, int width, const MeasureText& measure) {
  const std::vector<std::size_t> ends = character_ends(line);
  if (ends.empty()) return 0;
  const auto fits = [&](std::size_t i) { return measure(line.substr(0, ends[i])) <= width; };
  std::size_t fitting = 0, failing = 1;
  while (failing < ends.size() && fits(failing)) {
    fitting = failing;
    failing *= 2;
  }
  failing = std::min(failing, ends.size());
  while (failing - fitting > 1) {
    const std::size_t middle = fitting + (failing - fitting) / 2;
    (fits(middle) ? fitting : failing) = middle;
  }
  return ends[fitting];
}

// Appends one line of the text, no line feed in it, wrapped.
void wrap_line(std::string_view line, int width, const MeasureText& measure, std::string& out) {
  for (std::size_t fits; (fits = fitting_length(line, width, measure)) < line.size();) {
    const std::size_t blank = line.substr(0, fits + 1).rfind(' ');
    const bool at_blank = blank != std::string_view::npos && blank > 0;
    out.append(line.substr(0, at_blank ? blank : fits)).push_back('\n');
    line.remove_prefix(at_blank ? blank + 1 : fits);
  }
  out.append(line);
}

}  // namespace

std::string wrap_text(std::string_view text, int width, const MeasureText& measure) {
  std::string wrapped;
  for (;;) {
    const std::size_t feed = text.find('\n');
    wrap_line(text.substr(0, feed), width, measure, wrapped);
    if (feed == std::string_view::npos) return wrapped;
    wrapped.push_back('\n');
    text.remove_prefix(feed + 1);
  }
}

int wrap_width(int character_width, int screen_width) {
  return std::min(character_width * kLineCharacters, screen_width / 2);
}

int box_width(int contents_width, int caption_width, int screen_width) {
  return std::min(std::max(contents_width, caption_width), screen_width);
}

}  // namespace zur::dialog
