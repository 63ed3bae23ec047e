// SPDX-License-Identifier: MIT
// The few calls a front end that runs in a console needs of it.
#pragma once

#include <string>
#include <vector>

namespace zur::console {

enum class Stream { kIn, kOut, kErr };

bool is_terminal(Stream stream);
// Columns of the terminal or console `stream` shows in; 0 when unknown.
int terminal_columns(Stream stream);
// Readies the console for UTF-8 text; nothing on POSIX.
void prepare();
// True when this program is the only one in its console, as when started
// from a file manager.
bool alone();
// The files a command-line argument names: Windows' shells leave wildcards
// to the program; elsewhere the argument itself.
std::vector<std::string> expand_wildcards(const std::string& argument);

}  // namespace zur::console
