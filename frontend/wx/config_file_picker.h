// SPDX-License-Identifier: MIT
// The config file picker behind the Open button: a file dialog for one or
// more existing level config files, with the default extension "txt", and
// the list of level prefixes built from the picked paths for the prefix
// field.
#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>
#include <wx/window.h>

#include <optional>

// Shown as "Configure files (*.txt)"; matches .txt in any letter case, as
// file names here are case-sensitive and levels are often named in capitals.
extern const char* const kConfigFileWildcard;

// The full paths the user picked, in the file dialog's order, or nothing
// when the user cancelled. A typed name without extension stands for its
// ".txt" file. Every path names an existing file. `owner` owns the file
// dialog.
std::optional<wxArrayString> PickConfigFiles(wxWindow* owner);

// The path with ".txt" appended when its file name has no extension.
wxString WithDefaultExtension(const wxString& path);

// The level prefix of each path (its file name's extension dropped), joined
// with " | ".
wxString JoinPrefixes(const wxArrayString& paths);
