// SPDX-License-Identifier: MIT
// Temporary files that become level files, and their removal when the
// program is interrupted: while a name is registered, SIGINT, SIGTERM and
// SIGHUP remove that file before the signal takes its usual course.
#pragma once

#include <signal.h>

#include <string>

namespace zur {

// Holds SIGINT, SIGTERM and SIGHUP back while it lives, so that creating,
// naming, renaming or removing a temporary file and registering its name
// happen together; a signal that came meanwhile is delivered afterwards.
class InterruptsHeld {
 public:
  InterruptsHeld();
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;
  ~InterruptsHeld();

 private:
  sigset_t before_;
};

// A fresh name in the folder of `target` for a temporary file that will
// replace it: hidden, and unlike any other name there.
std::string temporary_name_for(const std::string& target);

// Registers the one name removed on interruption; an empty name ends that.
void remove_on_interrupt(const std::string& name);

}  // namespace zur
