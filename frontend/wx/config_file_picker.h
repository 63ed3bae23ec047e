// SPDX-License-Identifier: MIT
// The config file picker behind the Open button: a file dialog for one or
// more existing level config files, with the default extension "txt".
#pragma once

#include <wx/window.h>

#include <optional>
#include <string>
#include <vector>

// Shown as "Configure files (*.txt)"; matches .txt in any letter case, as
// file names here are case-sensitive and levels are often named in capitals.
extern const char* const kConfigFileWildcard;

// The full paths the user picked, in the file dialog's order and the
// engine's encoding, or nothing when the user cancelled. A typed name
// without extension stands for its ".txt" file. Every path names an
// existing file. `owner` owns the file dialog.
std::optional<std::vector<std::string>> PickConfigFiles(wxWindow* owner);
