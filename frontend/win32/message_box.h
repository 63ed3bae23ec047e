// SPDX-License-Identifier: MIT
// The program's message box (frontend/prompt_box.h) on Windows: the
// system's own box, under the program's caption, with the icon of its kind
// (error, information or none), OK for a message, Yes and No for a question
// with Yes the default. A question takes no key press in its first 300 ms
// on the screen; a click answers at once. The box wraps the text at blanks;
// a word wider than the rules allow a line, such as a long path, is broken
// into such lines first, so that it does not widen the box to the screen.
#pragma once

#include <windows.h>

#include <string>

#include "../prompt_box.h"

// Shows the box, modal and owned by `owner`; IDOK, IDYES or IDNO. `text` is
// in the engine's encoding.
int ShowMessageBox(HWND owner, const std::string& text, const zur::dialog::BoxKind& kind);

// The box's style bits for its kind.
UINT MessageBoxStyle(const zur::dialog::BoxKind& kind);
