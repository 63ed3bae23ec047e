// SPDX-License-Identifier: MIT
// The short help that F1 shows in the converter dialog.
#pragma once

namespace zur::dialog {

inline constexpr const char* kHelpText =
    "The level converter compiles the sources of a level into one level file.\n\n"
    "For the level prefix jungle it reads jungle.txt (the level config file), jungle.tga "
    "(the attribute map), jungle.jpg (the level picture) and, when the config file asks for "
    "one, junglep.jpg (the parallax picture), and writes jungle.lev.\n\n"
    "Type one prefix, or several separated by |, or pick config files with Open; then press "
    "Convert. Output comes in the same directory where the source files are. Exit ends the "
    "program.";

}  // namespace zur::dialog
