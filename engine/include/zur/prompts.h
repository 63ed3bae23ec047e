// SPDX-License-Identifier: MIT
// The engine's only channel to the user. Every call is modal: it returns
// once the user has seen the message or answered the question. A front end
// (dialog, command line, test script) implements it.
#pragma once

#include <span>
#include <string>

#include "zur/error.h"
#include "zur/program_title.h"

namespace zur {

inline constexpr const char* kProgramTitle = ZUR_PROGRAM_TITLE;

enum class Icon { None, Error, Information };

// Which of the engine's questions is being asked, so that a front end without
// a person in front of it can answer each one by its own rule.
enum class Question { IllegalColour, ConversionInfo, RepairHint };

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;

  virtual void show_message(const std::string& text, Icon icon) = 0;
  // A failed job's message and the system's reasons for the failure (a
  // level file that cannot be written, an old one that cannot be removed):
  // by default one message, the reasons under its text.
  virtual void show_failure(const std::string& text, Icon icon, std::span<const Error> reasons);
  // True for yes.
  virtual bool ask_yes_no(const std::string& text, Icon icon, Question question) = 0;
  // Position 0 to 100.
  virtual void set_progress(int position) = 0;
  // Called during the pass over the attribute map, between the positions 40
  // and 70, at least every 100 ms; `rows_done` is the share (0 to 1) of the
  // map's rows passed. A window repaints itself and moves its bar here; a
  // front end without one may ignore it.
  virtual void keep_alive(double /*rows_done*/) {}
};

}  // namespace zur
