// SPDX-License-Identifier: MIT
// The user prompts of zurconv: messages printed verbatim (error messages on
// the error stream, after a line naming the level, and the system's reasons
// for a failure after them, each on a line naming the level), questions
// answered by the command line's options, and progress drawn as a bar when
// the error stream is a terminal. A failed write to the output stream is
// remembered.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "options.h"
#include "zur/convert.h"

namespace zur::cli {

struct Terminal {
  std::FILE* out;
  std::FILE* err;
  std::FILE* in;
  bool in_is_terminal;
  bool err_is_terminal;
};

class TerminalPrompts : public BatchPrompts {
 public:
  TerminalPrompts(const Options& options, Terminal terminal)
      : options_(options), terminal_(terminal) {}

  void start_level(const std::string& level, std::size_t place, std::size_t count) override;
  // "zurconv: TEXT" on the error stream.
  void show_batch_failure(const std::string& text) override;

  void show_message(const std::string& text, Icon icon) override;
  void show_failure(const std::string& text, Icon icon, std::span<const Error> reasons) override;
  bool ask_yes_no(const std::string& text, Icon icon, Question question) override;
  void set_progress(int position) override;
  void keep_alive(double rows_done) override;

  // The errno of the first failed write to the output stream, or 0.
  int output_error() const { return output_error_; }

 private:
  bool read_answer(const std::string& text);
  void draw_progress(int position);
  void clear_progress();
  void flush(std::FILE* stream);

  const Options& options_;
  Terminal terminal_;
  std::string level_;       // as shown
  std::string bar_place_;   // "[3/20] " in a batch, shown with the level's name
  int progress_drawn_ = 0;  // the position the bar shows, 0 when none is drawn
  int output_error_ = 0;
};

}  // namespace zur::cli
