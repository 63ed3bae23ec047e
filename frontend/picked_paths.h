// SPDX-License-Identifier: MIT
// The config file picker behind the Open button, whatever toolkit shows it:
// the picked files' paths become the prefix field's list of level prefixes,
// and a picked name that names no file sends the user back to the picker.
// Paths are in the engine's encoding, spelled as the system spells them
// (on Windows a backslash and "/" both separate folders).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "zur/paths.h"

namespace zur::dialog {

// Where the picker opens (a folder with its final separator) and the name
// its name field shows; empty for the toolkit's own choice.
struct PickerStart {
  std::string folder;
  std::string name;
};

// Shows the picker; the full paths picked, in the picker's order, or
// nothing when the user cancelled.
using ShowPicker = std::function<std::optional<std::vector<std::string>>(const PickerStart&)>;

// Runs the picker until every path it gives names an existing file (a name
// without extension standing for its ".txt" file), or the user cancels.
// When a file does not exist, `tell_user` gets a message naming it and the
// picker opens again in its folder with its name as typed.
std::optional<std::vector<std::string>> pick_config_files(
    const ShowPicker& show_picker, const std::function<bool(const std::string&)>& file_exists,
    const std::function<void(const std::string&)>& tell_user,
    PathSyntax syntax = kNativePathSyntax);

// The path with ".txt" appended when its file name has no extension.
std::string with_default_extension(const std::string& path, PathSyntax syntax = kNativePathSyntax);

// The level prefix of each path (its file name's extension dropped), joined
// with " | ".
std::string join_prefixes(const std::vector<std::string>& paths);

}  // namespace zur::dialog
