// SPDX-License-Identifier: MIT
#include "console_pause.h"

#include <cstdio>

#include "zur/console.h"

namespace zur::cli {

// Messages that went to a file or a pipe leave nothing to read, and input
// from elsewhere cannot be answered with Enter.
bool waits_for_enter(const ConsoleAtExit& console) {
  return console.alone_in_console && console.input_is_console && console.output_is_console;
}

void wait_for_enter_if_alone() {
  using console::is_terminal;
  using console::Stream;
  const bool err_shown = is_terminal(Stream::kErr);
  if (!waits_for_enter(
          {console::alone(), is_terminal(Stream::kIn), err_shown || is_terminal(Stream::kOut)})) {
    return;
  }
  std::FILE* shown = err_shown ? stderr : stdout;
  std::fprintf(shown, "%s", kPressEnterToClose.data());
  std::fflush(shown);
  for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
  }
}

}  // namespace zur::cli
