// SPDX-License-Identifier: MIT
// Whether a command-line program waits for Enter before it ends. Started
// from Explorer (a double-click, files dropped on it), it is alone in a
// console of its own, which closes as it ends and takes its messages with
// it; started from a shell, it shares the shell's console and must not wait.
#pragma once

#include <string_view>

namespace zur::cli {

struct ConsoleAtExit {
  bool alone_in_console = false;   // no shell or other program shares it
  bool input_is_console = false;   // Enter can be read from it
  bool output_is_console = false;  // standard output or standard error shows in it
};

bool waits_for_enter(const ConsoleAtExit& console);

// Printed before waiting.
inline constexpr std::string_view kPressEnterToClose = "Press Enter to close this window.";

// Waits for Enter when waits_for_enter() says so of this program's console.
void wait_for_enter_if_alone();

}  // namespace zur::cli
