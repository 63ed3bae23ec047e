// SPDX-License-Identifier: MIT
// Reads the screen as the X server shows it, which is what the user sees: no
// window manager composites or reparents on the virtual screen of the tests.
#pragma once

#include <wx/gdicmn.h>

#include <vector>

// The pixel values row by row, or nothing when the display cannot be read.
std::vector<unsigned long> ScreenPixels(const wxRect& rect);

// Whether a top-level window with this title is on the screen, whichever
// process shows it.
bool WindowShown(const char* title);
