// SPDX-License-Identifier: MIT
#include "engine/level/shared/temporary_file.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <random>
#include <string_view>

namespace zur {
namespace {

constexpr std::array<int, 3> kInterrupts = {SIGINT, SIGTERM, SIGHUP};

// Read by the signal handler, so plain storage: a name longer than the
// buffer is never registered (the file is then left on interruption).
char registered_name[4096];
std::array<struct sigaction, kInterrupts.size()> previous_actions;
std::array<bool, kInterrupts.size()> handled{};

sigset_t interrupt_set() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : kInterrupts) sigaddset(&set, signal);
  return set;
}

// Only removes the file: then the signal is raised again with the action
// it had before, which takes its course once this handler returns.
void remove_and_pass_on(int signal) {
  const int saved_errno = errno;
  if (registered_name[0] != '\0') ::unlink(registered_name);
  registered_name[0] = '\0';
  for (std::size_t i = 0; i < kInterrupts.size(); ++i) {
    if (kInterrupts[i] == signal && handled[i]) ::sigaction(signal, &previous_actions[i], nullptr);
  }
  ::raise(signal);
  errno = saved_errno;
}

void install_handlers() {
  struct sigaction action {};
  action.sa_handler = remove_and_pass_on;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kInterrupts.size(); ++i) {
    struct sigaction before {};
    ::sigaction(kInterrupts[i], nullptr, &before);
    // An ignored signal ends nothing, so there is nothing to clean up after.
    handled[i] = before.sa_handler != SIG_IGN;
    if (!handled[i]) continue;
    previous_actions[i] = before;
    ::sigaction(kInterrupts[i], &action, nullptr);
  }
}

void restore_handlers() {
  for (std::size_t i = 0; i < kInterrupts.size(); ++i) {
    if (handled[i]) ::sigaction(kInterrupts[i], &previous_actions[i], nullptr);
    handled[i] = false;
  }
}

}  // namespace

InterruptsHeld::InterruptsHeld() {
  const sigset_t interrupts = interrupt_set();
  ::sigprocmask(SIG_BLOCK, &interrupts, &before_);
}

InterruptsHeld::~InterruptsHeld() {
  ::sigprocmask(SIG_SETMASK, &before_, nullptr);
}

std::string temporary_name_for(const std::string& target) {
  static std::mt19937_64 random{std::random_device{}()};
  const std::size_t slash = target.rfind('/');
  const std::size_t name_at = slash == std::string::npos ? 0 : slash + 1;
  constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string tag(8, ' ');
  for (char& c : tag) c = kLetters[random() % kLetters.size()];
  return target.substr(0, name_at) + "." + target.substr(name_at) + "." + tag + ".tmp";
}

void remove_on_interrupt(const std::string& name) {
  const InterruptsHeld held;
  const bool was_registered = registered_name[0] != '\0';
  if (name.empty() || name.size() >= sizeof registered_name) {
    registered_name[0] = '\0';
    if (was_registered) restore_handlers();
    return;
  }
  std::memcpy(registered_name, name.c_str(), name.size() + 1);
  if (!was_registered) install_handlers();
}

}  // namespace zur
