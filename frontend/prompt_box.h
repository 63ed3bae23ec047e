// SPDX-License-Identifier: MIT
// The message box of a user prompt, whatever toolkit draws it: its icon and
// buttons, which key presses a question takes, and how its text is laid
// out. The box shows its text beside the icon the prompt asks for (none is
// none, never the toolkit's own choice), under the program's caption; a
// message has OK, a question Yes and No, the first button the default. A
// question takes no key press in its first 300 ms on the screen, so that a
// key meant for what was there before does not answer it unseen; a click
// answers at once. Its text is wrapped to lines that fit, even a long
// unbroken one, and the box is at least as wide as its caption needs and
// never wider than the screen.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "zur/clock.h"
#include "zur/prompts.h"

namespace zur::dialog {

enum class BoxButtons { Ok, YesNo };

struct BoxKind {
  Icon icon;
  BoxButtons buttons;
};

constexpr BoxKind message_box_kind(Icon icon) {
  return {icon, BoxButtons::Ok};
}
constexpr BoxKind question_box_kind(Icon icon) {
  return {icon, BoxButtons::YesNo};
}

// Tells whether a key press may answer a question box.
class QuestionKeys {
 public:
  static constexpr std::uint32_t kDelayMs = 300;

  explicit QuestionKeys(MillisecondClock clock = monotonic_milliseconds)
      : clock_(std::move(clock)) {}

  // When the box appears on the screen.
  void box_shown() { shown_ms_ = clock_(); }
  // For a key press arriving now.
  bool takes_key() const { return clock_() - shown_ms_ >= kDelayMs; }

 private:
  MillisecondClock clock_;
  std::uint32_t shown_ms_ = 0;
};

// Widths in any unit the toolkit measures texts in.
using MeasureText = std::function<int(std::string_view)>;

// `text` (UTF-8) with line feeds put in so that no line is wider than
// `width`: after the last blank that fits, which the line feed replaces, or,
// in a word wider than the line, after the last character that fits. The
// text's own line feeds stay, and every line keeps at least one character.
std::string wrap_text(std::string_view text, int width, const MeasureText& measure);

// How wide the text may be before it wraps: 70 characters, at most half
// the screen.
int wrap_width(int character_width, int screen_width);

// The box's width: as its contents need, widened for its caption, narrowed
// to the screen.
int box_width(int contents_width, int caption_width, int screen_width);

}  // namespace zur::dialog
