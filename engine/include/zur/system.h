// SPDX-License-Identifier: MIT
// The system a front end's levels are read and written through. The
// options of every call that reaches files name one, the system the
// program runs on unless the front end gives its own: one with files of its
// own (the page's worker) implements the engine's system interface.
#pragma once

namespace zur::platform {

class System;

// The system the program runs on.
System& default_system();

}  // namespace zur::platform
