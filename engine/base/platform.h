// SPDX-License-Identifier: MIT
// What the engine and the command-line programs ask of the operating system
// beyond the System interface (zur/system.h), which platform_posix.cpp and
// platform_windows.cpp implement (CMake builds one): nothing else in engine/
// or cli/ includes a system header. What works with files is handed the
// System it uses: default_system() in the programs, a test's stand-in (a
// SystemWrapper that fails on purpose) in a test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "zur/system.h"

namespace zur::platform {

// How the lines of a text file the programs write end on this system.
extern const std::string_view kTextLineEnd;

// Reads exactly `count` bytes at `offset` through `system`; a file that
// ends before fails with std::errc::io_error.
std::error_code read_exactly(System& system, FileHandle file, std::uint64_t offset, void* into,
                             std::size_t count);

// ---- Paths

// Whether a file of any kind is at `path` (links followed).
bool exists(System& system, const std::string& path);

// The file `path` reaches, for comparing names of files that may not exist
// yet: links followed, and the folder's path made absolute and canonical.
std::string comparable_path(System& system, const std::string& path);

// The folder that holds `path`: "." for a bare name.
std::string folder_of(const std::string& path);

// ---- Temporary files

// Names removed if the program is interrupted before they are forgotten;
// a new file registers the name it has. Any number at once.
void remove_on_interrupt(const std::string& name);
void forget_on_interrupt(const std::string& name);

// ---- Standard streams and the console

enum class Stream { kIn, kOut, kErr };

bool is_terminal(Stream stream);
// Columns of the terminal or console `stream` shows in; 0 when unknown.
int terminal_columns(Stream stream);
// Readies the console for UTF-8 text; nothing on POSIX.
void prepare_console();
// True when this program is the only one in its console, as when started
// from a double-click: then it should wait for Enter before it ends.
bool alone_in_console();

// A command-line LEVEL argument as the user meant it: on Windows, where the
// shell leaves `*` and `?` alone, the files they match (sorted), or the
// argument itself when none match; elsewhere the argument itself.
std::vector<std::string> expand_wildcards(const std::string& argument);

}  // namespace zur::platform
