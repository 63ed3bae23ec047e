// SPDX-License-Identifier: MIT
// The config file picker behind the Open button: the system's open-file
// dialog for one or more existing level config files, with the single
// filter "Configure files (*.txt)" and the default extension "txt". Its
// name buffer holds 65,536 characters; a selection longer than that is
// told in a message, and nothing is picked.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The full paths the user picked, in the file dialog's order and the
// engine's encoding, or nothing when the user cancelled. `owner` owns the
// file dialog and the messages.
std::optional<std::vector<std::string>> PickConfigFiles(HWND owner);

// The paths in an open-file dialog's name buffer: a single full path, or
// the folder followed by the names in it, each ended by a zero, the list by
// a second zero.
std::vector<std::wstring> PickedPaths(const wchar_t* names);
