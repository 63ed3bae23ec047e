// The user prompts of zurconv: messages printed verbatim (error messages on
// the error stream), questions answered by the command line's options, and
// progress drawn as a bar when the error stream is a terminal.
#pragma once

#include <cstdio>

#include "cli/options.h"
#include "engine/level/prompts.h"

namespace zur::cli {

struct Terminal {
  std::FILE* out;
  std::FILE* err;
  std::FILE* in;
  bool in_is_terminal;
  bool err_is_terminal;
};

class TerminalPrompts : public UserPrompts {
 public:
  TerminalPrompts(const Options& options, Terminal terminal)
      : options_(options), terminal_(terminal) {}

  void show_message(const std::string& text, Icon icon) override;
  bool ask_yes_no(const std::string& text, Icon icon, Question question) override;
  void set_progress(int position) override;

 private:
  bool read_answer(const std::string& text);
  void clear_progress();

  const Options& options_;
  Terminal terminal_;
  bool progress_drawn_ = false;
};

}  // namespace zur::cli
