// SPDX-License-Identifier: MIT
// Runs a program as a child process in a given folder, its standard input
// read from the null device, and captures its standard output, standard
// error and exit status. Standard output can be one that takes no byte
// instead. On POSIX, standard error can be given a pseudo-terminal instead,
// and standard input a pseudo-terminal on which the given text was typed;
// Windows has no pseudo-terminals to give (has_pseudo_terminals()).
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zur::test {

struct CommandOutput {
  std::string out, err;
  int status = -1;  // the exit status, or -1 when the program did not exit normally
};

struct CommandSetup {
  bool err_on_terminal = false;
  std::optional<std::string> typed_input;  // standard input is a terminal with this typed
  // Every write to standard output fails: the full device on POSIX, a pipe
  // that no one reads on Windows.
  bool out_lost = false;
};

// The reason a program gives for the lost output: none on Windows, whose C
// runtimes word a broken pipe differently and may drop the reason with the
// bytes of a failed write.
std::optional<std::string> lost_output_reason();

// Arguments are UTF-8 and reach the program as given, spaces and empty ones
// too. A setup that asks for a terminal where there are none gives status -1.
CommandOutput run_command(const std::string& program, const std::vector<std::string>& args,
                          const std::filesystem::path& folder, const CommandSetup& setup = {});

bool has_pseudo_terminals();

// Runs `body` as someone who may not write what is read-only, and gives
// its result, or -1: root may write anything, so as root it runs in a child
// process as the user nobody; anyone else, and anyone on Windows, runs it
// as they are.
int as_unprivileged(const std::function<int()>& body);

}  // namespace zur::test
