// SPDX-License-Identifier: MIT
// While a conversion batch runs, the converter dialog takes no input. The
// batch lets the toolkit run only to repaint the dialog and to show its
// message boxes; a key, click or close request that reached the dialog
// meanwhile is dropped, never handled inside the batch nor, stale, after it.
#pragma once

#include <wx/window.h>

// Handles the toolkit's queued events: paint and layout go on everywhere,
// while user input and close requests for `dialog` or its controls are
// dropped. Does nothing outside an event loop.
void RepaintDroppingInput(wxWindow& dialog);
