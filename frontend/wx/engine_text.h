// SPDX-License-Identifier: MIT
// Texts between the dialog and the engine. The engine works on file names,
// so its texts are in the file name encoding.
#pragma once

#include <wx/string.h>

#include <string>

// The field's text as the engine takes it.
std::string ToEngine(const wxString& text);

// An engine text for the dialog; a text that does not decode is still
// shown, as Latin-1.
wxString FromEngine(const std::string& text);
