// SPDX-License-Identifier: MIT
// The platform seam on Windows. Paths are UTF-8 inside the programs and
// UTF-16 at the system's edge. Failures are the system's error codes in
// std::system_category, which relates them to the std::errc values.
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <random>
#include <string_view>
#include <thread>

#include "engine/base/ascii.h"
#include "engine/base/platform.h"
#include "engine/base/platform_portable.h"
#include "zur/paths.h"

namespace zur {

const PathSyntax kNativePathSyntax = PathSyntax::kWindows;

}  // namespace zur

namespace zur::platform {
namespace {

constexpr PathSyntax kWindows = PathSyntax::kWindows;

std::wstring wide(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring result(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, result.data(),
                      static_cast<int>(result.size()));
  return result;
}

std::string utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::string result(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(), static_cast<int>(result.size()),
                      nullptr, nullptr);
  return result;
}

std::error_code last_error() {
  return {static_cast<int>(GetLastError()), std::system_category()};
}

HANDLE handle_of(FileHandle file) {
  return reinterpret_cast<HANDLE>(file);
}
FileHandle file_of(HANDLE handle) {
  return reinterpret_cast<FileHandle>(handle);
}

// The absolute path the system makes of `path`; for a device name (NUL,
// COM1, "con.txt", "LPT9 ") that is "\\.\" and the device.
std::wstring full_path(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  DWORD size =
      GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (size > full.size()) {
    full.resize(size);
    size = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  }
  full.resize(size < full.size() ? size : 0);
  return full;
}

// Decided from the path alone: opening a device to look (COM1) can block.
bool names_device(const std::wstring& path) {
  return !path.empty() && full_path(path).starts_with(LR"(\\.\)");
}

HANDLE open_existing(const std::wstring& path, DWORD access) {
  // Folders open only with backup semantics; sharing everything keeps other
  // programs, and this one, free to open, replace or remove the file.
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool is_missing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
         error == ERROR_INVALID_NAME;
}

std::error_code refuse_read_only(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return {ERROR_ACCESS_DENIED, std::system_category()};
  }
  return {};
}

// Removed when its last handle closes, whoever holds the others.
bool mark_deleted(HANDLE file) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// ---- Temporary files and the console control handler

// The open temporary files, which the console control handler marks
// deleted. The lock keeps a file from being put in place and deleted at once.
struct OpenTemporaries {
  std::mutex lock;
  std::vector<HANDLE> files;
  std::vector<std::wstring> names;  // registered by name
  bool interrupted = false;
  bool handler_installed = false;
};

OpenTemporaries& open_temporaries() {
  static OpenTemporaries temporaries;
  return temporaries;
}

// Ctrl+C, Ctrl+Break and closing the console: the program is ending, so
// no temporary may be left or put in place. Returning FALSE lets the next
// handler, in the end the system's, end it.
BOOL WINAPI delete_temporaries(DWORD) {
  OpenTemporaries& temporaries = open_temporaries();
  const std::lock_guard held(temporaries.lock);
  temporaries.interrupted = true;
  for (const HANDLE file : temporaries.files) mark_deleted(file);
  for (const std::wstring& name : temporaries.names) DeleteFileW(name.c_str());
  return FALSE;
}

void forget(OpenTemporaries& temporaries, HANDLE file) {
  std::erase(temporaries.files, file);
}

void install_handler(OpenTemporaries& temporaries) {
  if (!temporaries.handler_installed) {
    temporaries.handler_installed = SetConsoleCtrlHandler(delete_temporaries, TRUE);
  }
}

// ".NAME.TAG.tmp" beside the target NAME, TAG being eight letters and digits.
constexpr std::string_view kTagLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kTagLength = 8;
constexpr std::string_view kTemporaryEnding = ".tmp";

// A fresh name beside `target`, unlike any other there.
std::string temporary_name_for(const std::string& target) {
  static std::mt19937_64 random{std::random_device{}()};
  const std::size_t name_at = name_start(target, kWindows);
  std::string tag(kTagLength, ' ');
  for (char& c : tag) c = kTagLetters[random() % kTagLetters.size()];
  return target.substr(0, name_at) + "." + target.substr(name_at) + "." + tag +
         std::string(kTemporaryEnding);
}

bool is_temporary_name_for(std::wstring_view candidate, std::string_view target_name) {
  const std::string name = utf8(candidate);
  const std::size_t tag_at = 1 + target_name.size() + 1;
  if (name.size() != tag_at + kTagLength + kTemporaryEnding.size() || name[0] != '.' ||
      !equal_ignoring_case(std::string_view(name).substr(1, target_name.size()), target_name) ||
      name[tag_at - 1] != '.' || !name.ends_with(kTemporaryEnding)) {
    return false;
  }
  const std::string_view tag = std::string_view(name).substr(tag_at, kTagLength);
  return tag.find_first_not_of(kTagLetters) == std::string_view::npos;
}

std::error_code rename_over(HANDLE file, const std::wstring& target, bool replace) {
  const std::size_t name_bytes = target.size() * sizeof(wchar_t);
  std::vector<std::uint8_t> buffer(sizeof(FILE_RENAME_INFO) + name_bytes);
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = replace ? TRUE : FALSE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(name_bytes);
  std::memcpy(rename->FileName, target.data(), name_bytes);
  if (!SetFileInformationByHandle(file, FileRenameInfo, rename,
                                  static_cast<DWORD>(buffer.size()))) {
    return last_error();
  }
  return {};
}

// Another program (a virus scanner, the game) may hold the target open for
// a moment; a target that stays held is an error.
bool may_be_held_for_a_moment(const std::error_code& error) {
  return error.value() == ERROR_SHARING_VIOLATION || error.value() == ERROR_ACCESS_DENIED ||
         error.value() == ERROR_LOCK_VIOLATION;
}

// ---- Wildcards

// `*` stands for any run of characters, `?` for any one; letter case aside.
bool matches(std::string_view name, std::string_view pattern) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == '*') {
    for (std::size_t skip = 0; skip <= name.size(); ++skip) {
      if (matches(name.substr(skip), pattern.substr(1))) return true;
    }
    return false;
  }
  return !name.empty() && (pattern[0] == '?' || ascii_lower(pattern[0]) == ascii_lower(name[0])) &&
         matches(name.substr(1), pattern.substr(1));
}

}  // namespace

const std::string_view kTextLineEnd = "\r\n";

// ---- Paths

std::string folder_of(const std::string& path) {
  const std::size_t root = root_length(path, kWindows);
  std::size_t end = name_start(path, kWindows);
  while (end > root && is_folder_separator(path[end - 1], kWindows)) --end;
  return end == 0 ? "." : path.substr(0, end);
}

namespace {

// A new file beside the one it is to replace (see NewFile), hidden, and
// listed among the open temporaries that the console control handler
// marks deleted.
class WindowsNewFile final : public NewFile {
 public:
  explicit WindowsNewFile(System& system) : system_(system) {}
  ~WindowsNewFile() override { discard(); }

  std::error_code create(const std::string& target) {
    OpenTemporaries& temporaries = open_temporaries();
    const std::lock_guard held(temporaries.lock);
    install_handler(temporaries);
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = temporary_name_for(target);
      // Others may read it, none may write, rename or remove it meanwhile.
      const HANDLE file =
          CreateFileW(wide(name).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
      if (file == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_EXISTS) continue;
        return last_error();
      }
      temporaries.files.push_back(file);
      file_ = file_of(file);
      name_ = std::move(name);
      return {};
    }
    return std::make_error_code(std::errc::file_exists);
  }

  std::error_code write_at(std::uint64_t offset, const void* data, std::size_t count) override {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (count > 0) {
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      const auto asked = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
      DWORD written = 0;
      if (!WriteFile(handle_of(file_), bytes, asked, &written, &at)) return last_error();
      bytes += written;
      offset += written;
      count -= written;
    }
    return {};
  }

  std::error_code read_at(std::uint64_t offset, void* into, std::size_t count) override {
    return read_exactly(system_, file_, offset, into, count);
  }

  // The new file takes the folder's access rules, as any new file there.
  void copy_permissions_of(const std::string&) override {}
  // Windows writes back and drops cached file data on its own.
  void start_write_back(std::uint64_t, std::uint64_t) override {}
  void drop_from_cache(std::uint64_t, std::uint64_t) override {}

  std::error_code put_in_place(const std::string& target, bool replace) override {
    if (!is_open()) return std::make_error_code(std::errc::bad_file_descriptor);
    const std::wstring name = full_path(wide(target));
    std::error_code error = replace ? refuse_read_only(name) : std::error_code();
    FILE_BASIC_INFO shown{};
    shown.FileAttributes = FILE_ATTRIBUTE_NORMAL;  // no longer hidden
    if (!error &&
        !SetFileInformationByHandle(handle_of(file_), FileBasicInfo, &shown, sizeof shown)) {
      error = last_error();
    }
    OpenTemporaries& temporaries = open_temporaries();
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (!error) {
      {
        const std::lock_guard held(temporaries.lock);
        if (temporaries.interrupted) {
          error = std::make_error_code(std::errc::interrupted);
          break;
        }
        error = rename_over(handle_of(file_), name, replace);
        if (!error) {
          forget(temporaries, handle_of(file_));
          CloseHandle(handle_of(file_));
          file_ = kNoFile;
          name_.clear();
          return {};
        }
      }
      if (!may_be_held_for_a_moment(error) || std::chrono::steady_clock::now() >= give_up) break;
      error.clear();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    discard();
    return error;
  }

 private:
  bool is_open() const { return file_ != kNoFile; }

  // Closes and removes the file, if still there.
  void discard() {
    if (!is_open()) return;
    OpenTemporaries& temporaries = open_temporaries();
    const std::lock_guard held(temporaries.lock);
    mark_deleted(handle_of(file_));
    forget(temporaries, handle_of(file_));
    CloseHandle(handle_of(file_));
    file_ = kNoFile;
    name_.clear();
  }

  System& system_;  // that made it, and reads it back
  FileHandle file_ = kNoFile;
  std::string name_;  // empty while it has none
};

class WindowsSystem final : public System {
 public:
  std::error_code file_status(const std::string& path, FileStatus& status) override {
    status = {};
    const std::wstring name = wide(path);
    if (names_device(name)) {
      status.kind = FileKind::kDevice;
      return {};
    }
    const HANDLE file = open_existing(name, FILE_READ_ATTRIBUTES);
    if (file == INVALID_HANDLE_VALUE) {
      if (is_missing(GetLastError())) return {};
      return last_error();
    }
    const std::error_code error = status_of(file_of(file), status);
    CloseHandle(file);
    return error;
  }

  bool name_exists(const std::string& path) override { return portable::name_exists(path); }

  std::string final_path(const std::string& path) override {
    const std::wstring name = wide(path);
    if (names_device(name)) return path;
    const HANDLE file = open_existing(name, 0);
    if (file == INVALID_HANDLE_VALUE) return path;
    std::wstring final(MAX_PATH, L'\0');
    DWORD size = GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (size >= final.size()) {
      final.resize(size);
      size = GetFinalPathNameByHandleW(file, final.data(), size,
                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    CloseHandle(file);
    if (size == 0 || size >= final.size()) return path;
    final.resize(size);
    // The system answers with the \\?\ prefix, which is needed only where a
    // path is too long for the plain form.
    if (final.size() < MAX_PATH) {
      if (final.starts_with(LR"(\\?\UNC\)")) {
        final.replace(0, 8, LR"(\\)");
      } else if (final.starts_with(LR"(\\?\)")) {
        final.erase(0, 4);
      }
    }
    return utf8(final);
  }

  std::error_code remove_file(const std::string& path) override {
    if (!DeleteFileW(wide(path).c_str())) return last_error();
    return {};
  }

  // Windows refuses to replace a read-only file; Wine, run by root, would not.
  std::error_code may_write(const std::string& path) override {
    return refuse_read_only(wide(path));
  }

  std::error_code folder_entries(const std::string& folder,
                                 std::vector<FolderEntry>& entries) override {
    return portable::folder_entries(folder, entries);
  }

  // NTFS and FAT keep a name's letter case but find it whatever case it is
  // asked for in.
  bool ignores_letter_case(const std::string&) override { return true; }

  std::error_code open_for_reading(const std::string& path, FileHandle& file) override {
    file = kNoFile;
    const std::wstring name = wide(path);
    if (names_device(name)) return not_a_regular_file();
    const HANDLE opened = open_existing(name, GENERIC_READ);
    if (opened == INVALID_HANDLE_VALUE) return last_error();
    FileStatus status;
    std::error_code error = status_of(file_of(opened), status);
    if (!error && status.kind != FileKind::kRegular) error = not_a_regular_file();
    if (error) {
      CloseHandle(opened);
      return error;
    }
    file = file_of(opened);
    return {};
  }

  std::error_code status_of(FileHandle file, FileStatus& status) override {
    status = {};
    switch (GetFileType(handle_of(file))) {
      case FILE_TYPE_DISK:
        break;
      case FILE_TYPE_PIPE:
        status.kind = FileKind::kPipe;
        return {};
      case FILE_TYPE_CHAR:
        status.kind = FileKind::kDevice;
        return {};
      default:
        status.kind = FileKind::kOther;
        return {};
    }
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(handle_of(file), &information)) return last_error();
    const bool folder = information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    status.kind = folder ? FileKind::kFolder : FileKind::kRegular;
    status.identity = {information.dwVolumeSerialNumber,
                       std::uint64_t(information.nFileIndexHigh) << 32 | information.nFileIndexLow};
    status.size = std::uint64_t(information.nFileSizeHigh) << 32 | information.nFileSizeLow;
    return {};
  }

  std::error_code read_at(FileHandle file, std::uint64_t offset, void* into, std::size_t count,
                          std::size_t& got) override {
    got = 0;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const auto asked = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    DWORD read = 0;
    if (!ReadFile(handle_of(file), into, asked, &read, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) return {};
      return last_error();
    }
    got = read;
    return {};
  }

  std::uint64_t next_data(FileHandle file, std::uint64_t from, std::uint64_t size) override {
    if (from >= size) return size;
    // Only a sparse file has holes to skip.
    FILE_BASIC_INFO basic;
    if (!GetFileInformationByHandleEx(handle_of(file), FileBasicInfo, &basic, sizeof basic) ||
        !(basic.FileAttributes & FILE_ATTRIBUTE_SPARSE_FILE)) {
      return from;
    }
    FILE_ALLOCATED_RANGE_BUFFER query{};
    query.FileOffset.QuadPart = static_cast<LONGLONG>(from);
    query.Length.QuadPart = static_cast<LONGLONG>(size - from);
    FILE_ALLOCATED_RANGE_BUFFER range{};
    DWORD returned = 0;
    if (!DeviceIoControl(handle_of(file), FSCTL_QUERY_ALLOCATED_RANGES, &query, sizeof query,
                         &range, sizeof range, &returned, nullptr) &&
        GetLastError() != ERROR_MORE_DATA) {
      return from;
    }
    if (returned < sizeof range) return size;
    return std::max<std::uint64_t>(from, static_cast<std::uint64_t>(range.FileOffset.QuadPart));
  }

  void close_file(FileHandle file) override {
    if (file != kNoFile) CloseHandle(handle_of(file));
  }

  const std::uint8_t* map_read_only(FileHandle file, std::uint64_t size) override {
    if (size == 0) return nullptr;
    const HANDLE mapping =
        CreateFileMappingW(handle_of(file), nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr) return nullptr;
    // The view keeps the mapping, and the file, open until it is unmapped.
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, static_cast<SIZE_T>(size));
    CloseHandle(mapping);
    return static_cast<const std::uint8_t*>(view);
  }

  void unmap(const std::uint8_t* data, std::uint64_t) override {
    if (data) UnmapViewOfFile(data);
  }

  std::error_code create_temporary(const std::string& target,
                                   std::unique_ptr<NewFile>& file) override {
    auto created = std::make_unique<WindowsNewFile>(*this);
    const std::error_code error = created->create(target);
    if (!error) file = std::move(created);
    return error;
  }

  void remove_stale_temporaries(const std::string& target) override {
    const std::size_t name_at = name_start(target, kWindows);
    const std::string folder = target.substr(0, name_at);
    const std::string target_name = target.substr(name_at);
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileExW(
        wide(folder + "." + target_name + ".*" + std::string(kTemporaryEnding)).c_str(),
        FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      // One still open in another conversion is shared for reading only, so
      // removing it fails and it stays.
      if (is_temporary_name_for(found.cFileName, target_name)) {
        DeleteFileW((wide(folder) + found.cFileName).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
};

}  // namespace

System& default_system() {
  static WindowsSystem system;
  return system;
}

void remove_on_interrupt(const std::string& name) {
  OpenTemporaries& temporaries = open_temporaries();
  const std::lock_guard held(temporaries.lock);
  install_handler(temporaries);
  temporaries.names.push_back(wide(name));
}

void forget_on_interrupt(const std::string& name) {
  OpenTemporaries& temporaries = open_temporaries();
  const std::lock_guard held(temporaries.lock);
  const auto found = std::find(temporaries.names.begin(), temporaries.names.end(), wide(name));
  if (found != temporaries.names.end()) temporaries.names.erase(found);
}

// ---- Standard streams and the console

namespace {

HANDLE standard_handle(Stream stream) {
  switch (stream) {
    case Stream::kIn:
      return GetStdHandle(STD_INPUT_HANDLE);
    case Stream::kOut:
      return GetStdHandle(STD_OUTPUT_HANDLE);
    case Stream::kErr:
      break;
  }
  return GetStdHandle(STD_ERROR_HANDLE);
}

}  // namespace

bool is_terminal(Stream stream) {
  DWORD mode = 0;
  return GetConsoleMode(standard_handle(stream), &mode) != 0;
}

int terminal_columns(Stream stream) {
  CONSOLE_SCREEN_BUFFER_INFO screen;
  if (!GetConsoleScreenBufferInfo(standard_handle(stream), &screen)) return 0;
  return screen.srWindow.Right - screen.srWindow.Left + 1;
}

void prepare_console() {
  SetConsoleOutputCP(CP_UTF8);
  // The progress bar clears its line with an escape sequence.
  for (const Stream stream : {Stream::kOut, Stream::kErr}) {
    DWORD mode = 0;
    if (GetConsoleMode(standard_handle(stream), &mode)) {
      SetConsoleMode(standard_handle(stream), mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
  }
}

bool alone_in_console() {
  DWORD processes[2];
  return GetConsoleProcessList(processes, 2) == 1;
}

std::vector<std::string> expand_wildcards(const std::string& argument) {
  const std::size_t name_at = name_start(argument, kWindows);
  const std::string pattern = argument.substr(name_at);
  // Only the last name is expanded, as the Windows shells do.
  if (pattern.find_first_of("*?") == std::string::npos || argument.find_first_of("*?") < name_at) {
    return {argument};
  }
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileExW(wide(argument).c_str(), FindExInfoBasic, &found,
                                         FindExSearchNameMatch, nullptr, 0);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      // The system matches short names too ("*.txt" finds "a.txt2" by
      // "A~1.TXT"), and "*" finds hidden files; the shells on Linux do neither.
      const std::string name = utf8(found.cFileName);
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && name != "." && name != ".." &&
          matches(name, pattern)) {
        names.push_back(argument.substr(0, name_at) + name);
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  if (names.empty()) return {argument};
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace zur::platform
