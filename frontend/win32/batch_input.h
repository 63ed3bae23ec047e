// SPDX-License-Identifier: MIT
// While a conversion batch runs, the converter dialog takes no input
// (frontend/batch_input_rule.h): this thread's messages are handled only to
// repaint the windows and to show the batch's message boxes.
#pragma once

#include <windows.h>

#include "../batch_input_rule.h"

// What kind of event a window message is, for the rule.
zur::dialog::EventKind EventKindOf(UINT message, WPARAM wParam);

// Handles the messages queued for this thread: painting goes on everywhere,
// while user input and close requests aimed at `dialog` or its controls are
// dropped, so that none is handled later either.
void RepaintDroppingInput(HWND dialog);
