// SPDX-License-Identifier: MIT
// While a conversion batch runs, the converter dialog takes no input
// (frontend/batch_input_rule.h): the toolkit runs only to repaint it and to
// show its message boxes.
#pragma once

#include <wx/window.h>

// Handles the toolkit's queued events: paint and layout go on everywhere,
// while user input and close requests for `dialog` or its controls are
// dropped. Does nothing outside an event loop.
void RepaintDroppingInput(wxWindow& dialog);
