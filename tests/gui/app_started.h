// SPDX-License-Identifier: MIT
// Whether the application object accepted its start-up (with a level prefix
// on the command line), as the test program's main saw it.
#pragma once

namespace zur::gui_test {
extern bool app_started_with_prefix;
}
