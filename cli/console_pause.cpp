// SPDX-License-Identifier: MIT
#include "cli/console_pause.h"

namespace zur::cli {

// Messages that went to a file or a pipe leave nothing to read, and input
// from elsewhere cannot be answered with Enter.
bool waits_for_enter(const ConsoleAtExit& console) {
  return console.alone_in_console && console.input_is_console && console.output_is_console;
}

}  // namespace zur::cli
