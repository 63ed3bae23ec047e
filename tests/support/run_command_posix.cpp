// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "tests/support/level_sources.h"
#include "tests/support/run_command.h"

namespace zur::test {
namespace {

// A pseudo-terminal: the end the program is given, and ours.
struct PseudoTerminal {
  int ours = -1, theirs = -1;

  bool open() {
    ours = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (ours < 0 || ::grantpt(ours) != 0 || ::unlockpt(ours) != 0) return false;
    theirs = ::open(::ptsname(ours), O_RDWR | O_NOCTTY);
    return theirs >= 0;
  }
  // What the program wrote, once no one else holds its end open.
  std::string drain() {
    ::close(theirs);
    theirs = -1;
    std::string text;
    char block[4096];
    for (ssize_t n; (n = ::read(ours, block, sizeof block)) > 0;) text.append(block, n);
    return text;
  }
  ~PseudoTerminal() {
    if (theirs >= 0) ::close(theirs);
    if (ours >= 0) ::close(ours);
  }
};

}  // namespace

std::optional<std::string> lost_output_reason() {
  return std::make_error_code(std::errc::no_space_on_device).message();
}

bool has_pseudo_terminals() {
  return true;
}

CommandOutput run_command(const std::string& program, const std::vector<std::string>& args,
                          const std::filesystem::path& folder, const CommandSetup& setup) {
  TempDir captures;
  const std::string out_path = (captures.path() / "out").string();
  const std::string err_path = (captures.path() / "err").string();
  // Our side holds the program's end open too, so that what it wrote stays
  // readable after it exits.
  PseudoTerminal err_terminal, in_terminal;
  if (setup.err_on_terminal && !err_terminal.open()) return {};
  if (setup.typed_input) {
    const std::string& typed = *setup.typed_input;
    if (!in_terminal.open()) return {};
    if (::write(in_terminal.ours, typed.data(), typed.size()) != ssize_t(typed.size())) return {};
  }
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  const pid_t child = ::fork();
  if (child == 0) {
    const int in = setup.typed_input ? in_terminal.theirs : ::open("/dev/null", O_RDONLY);
    const int out =
        ::open(setup.out_lost ? "/dev/full" : out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = setup.err_on_terminal
                        ? err_terminal.theirs
                        : ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0 || ::chdir(folder.c_str()) != 0) ::_exit(127);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  CommandOutput output;
  int status = 0;
  const bool waited = child > 0 && ::waitpid(child, &status, 0) == child;
  output.err = setup.err_on_terminal ? err_terminal.drain() : read_whole(err_path);
  if (!waited) return {};
  if (WIFEXITED(status)) output.status = WEXITSTATUS(status);
  output.out = read_whole(out_path);
  return output;
}

int as_unprivileged(const std::function<int()>& body) {
  if (::geteuid() != 0) return body();
  const pid_t child = ::fork();
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(99);
    ::_exit(body());
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace zur::test
