// SPDX-License-Identifier: MIT
// What the engine and the command-line programs ask of the operating system,
// all in one place: platform_posix.cpp and platform_windows.cpp implement it
// (CMake builds one), and nothing else in engine/ or cli/ includes a system
// header. Paths are UTF-8. Failures are std::error_code values; those with
// an errno equivalent compare equal to std::errc values on both systems.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace zur::platform {

// How the lines of a text file the programs write end on this system.
#ifdef _WIN32
inline constexpr std::string_view kTextLineEnd = "\r\n";
#else
inline constexpr std::string_view kTextLineEnd = "\n";
#endif

// A descriptor on POSIX, a HANDLE on Windows.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

enum class FileKind { kMissing, kRegular, kFolder, kPipe, kDevice, kOther };

// Which file a path names, whichever path: device and inode, or volume
// serial number and file index.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct FileStatus {
  FileKind kind = FileKind::kMissing;
  FileIdentity identity;
  std::uint64_t size = 0;
};

// The reason given for a file that is there but is not a regular file.
std::error_code not_a_regular_file();

// ---- Paths

// The file that `path` names, symbolic links followed; kind kMissing when
// there is none. A device name (Windows' NUL, COM1, ...) is a kDevice and is
// never opened to find out.
std::error_code file_status(const std::string& path, FileStatus& status);

// The path that writing through `path` reaches: symbolic links followed, a
// relative one from the folder that holds it. The file need not exist.
std::string final_path(const std::string& path);

// The folder that holds `path`: "." for a bare name.
std::string folder_of(const std::string& path);

std::error_code remove_file(const std::string& path);

// Whether this program may write the existing file `path` (a read-only file
// is refused, even where the system would let it be replaced).
std::error_code may_write(const std::string& path);

// ---- Reading

// Opens a regular file for reading; anything else (pipe, device, folder) is
// refused with not_a_regular_file() without waiting on it.
std::error_code open_for_reading(const std::string& path, FileHandle& file);
std::error_code status_of(FileHandle file, FileStatus& status);
// Reads up to `count` bytes at `offset`: `got` is 0 only at the file's end.
std::error_code read_at(FileHandle file, std::uint64_t offset, void* into, std::size_t count,
                        std::size_t& got);
// The first offset from `from` on that may hold data: a hole of a sparse
// file is skipped where the system can tell, `size` when only a hole is left.
std::uint64_t next_data(FileHandle file, std::uint64_t from, std::uint64_t size);
void close_file(FileHandle file);

// The first `size` bytes of `file`, mapped read-only; null when the system
// cannot map them. Stays mapped after the file is closed, until unmap().
const std::uint8_t* map_read_only(FileHandle file, std::uint64_t size);
void unmap(const std::uint8_t* data, std::uint64_t size);

// ---- Temporary files that become output files

// A new file in the folder of the file it is to replace, hidden, and removed
// when the object goes without put_in_place() or when the program is
// interrupted (SIGINT, SIGTERM, SIGHUP; Ctrl+C, Ctrl+Break or the console
// closing), so no interruption leaves it behind.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile();

  // `target` is a final path (final_path()); its folder takes the file.
  std::error_code create(const std::string& target);
  bool is_open() const { return file_ != kNoFile; }

  std::error_code write_at(std::uint64_t offset, const void* data, std::size_t count);
  // Reads back exactly `count` bytes written before.
  std::error_code read_at(std::uint64_t offset, void* into, std::size_t count);

  // Gives it the permission bits of the existing file `target`.
  void copy_permissions_of(const std::string& target);

  // Cache hints for a large file, no-ops where the system has none: the
  // bytes up to `end` may go to the disk now, without waiting for them; the
  // bytes up to `end` are waited for and dropped from the file cache.
  void start_write_back(std::uint64_t from, std::uint64_t end);
  void drop_from_cache(std::uint64_t from, std::uint64_t end);

  // Closes the file and puts it at `target` (a final path), replacing what
  // is there; with `replace` false, fails with std::errc::file_exists when
  // the name exists, even one that appears meanwhile. On failure the file is
  // removed and `target` is as it was.
  std::error_code put_in_place(const std::string& target, bool replace);

  // Closes and removes the file, if still there.
  void discard();

 private:
  FileHandle file_ = kNoFile;
  std::string name_;      // empty while it has none
  bool unnamed_ = false;  // created without a name; one is given on put_in_place
};

// Names removed if the program is interrupted before they are forgotten;
// TemporaryFile registers the names its files have. Any number at once.
void remove_on_interrupt(const std::string& name);
void forget_on_interrupt(const std::string& name);

// Removes hidden temporary files that a hard kill left beside `target`
// (those not in use by another program); harmless when there are none.
void remove_stale_temporaries(const std::string& target);

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
