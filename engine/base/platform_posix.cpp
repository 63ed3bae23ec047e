// SPDX-License-Identifier: MIT
// The platform seam on POSIX systems. Calls that only some systems have
// (O_TMPFILE, sync_file_range, posix_fadvise, renameat2) are found by CMake,
// each with a plain fallback.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <random>
#include <string_view>
#include <utility>

#include "engine/base/platform.h"
#include "engine/base/platform_portable.h"
#include "zur/paths.h"

namespace zur {

const PathSyntax kNativePathSyntax = PathSyntax::kPosix;

}  // namespace zur

namespace zur::platform {
namespace {

constexpr int kMostLinksFollowed = 40;
constexpr mode_t kPermissionBits = 0777;

std::error_code last_error() {
  return {errno, std::generic_category()};
}

int fd_of(FileHandle file) {
  return static_cast<int>(file);
}

FileStatus status_from(const struct stat& info) {
  FileStatus status;
  status.identity = {static_cast<std::uint64_t>(info.st_dev),
                     static_cast<std::uint64_t>(info.st_ino)};
  status.size = static_cast<std::uint64_t>(info.st_size);
  if (S_ISREG(info.st_mode)) {
    status.kind = FileKind::kRegular;
  } else if (S_ISDIR(info.st_mode)) {
    status.kind = FileKind::kFolder;
  } else if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) {
    status.kind = FileKind::kPipe;
  } else if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) {
    status.kind = FileKind::kDevice;
  } else {
    status.kind = FileKind::kOther;
  }
  return status;
}

// ---- Removal of temporary files on interruption

constexpr std::array<int, 3> kInterrupts = {SIGINT, SIGTERM, SIGHUP};

// Read by the signal handler, so plain storage written only while the
// interrupts are held back. A name longer than a slot, or one more than
// there are slots, is not registered (that file is left on interruption).
constexpr std::size_t kSlots = 64;
char registered[kSlots][4096];
std::size_t registered_count = 0;
std::array<struct sigaction, kInterrupts.size()> previous_actions;
std::array<bool, kInterrupts.size()> handled{};

// Holds SIGINT, SIGTERM and SIGHUP back while it lives, so that creating,
// naming, renaming or removing a temporary file and registering its name
// happen together; a signal that came meanwhile is delivered afterwards.
class InterruptsHeld {
 public:
  InterruptsHeld() {
    sigset_t interrupts;
    sigemptyset(&interrupts);
    for (const int signal : kInterrupts) sigaddset(&interrupts, signal);
    ::sigprocmask(SIG_BLOCK, &interrupts, &before_);
  }
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;
  ~InterruptsHeld() { ::sigprocmask(SIG_SETMASK, &before_, nullptr); }

 private:
  sigset_t before_;
};

// Only removes the files: then the signal is raised again with the action
// it had before, which takes its course once this handler returns.
void remove_and_pass_on(int signal) {
  const int saved_errno = errno;
  for (char* name : registered) {
    if (name[0] != '\0') ::unlink(name);
    name[0] = '\0';
  }
  for (std::size_t i = 0; i < kInterrupts.size(); ++i) {
    if (kInterrupts[i] == signal && handled[i]) ::sigaction(signal, &previous_actions[i], nullptr);
  }
  ::raise(signal);
  errno = saved_errno;
}

void install_handlers() {
  struct sigaction action {};
  action.sa_handler = remove_and_pass_on;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kInterrupts.size(); ++i) {
    struct sigaction before {};
    ::sigaction(kInterrupts[i], nullptr, &before);
    // An ignored signal ends nothing, so there is nothing to clean up after.
    handled[i] = before.sa_handler != SIG_IGN;
    if (!handled[i]) continue;
    previous_actions[i] = before;
    ::sigaction(kInterrupts[i], &action, nullptr);
  }
}

void restore_handlers() {
  for (std::size_t i = 0; i < kInterrupts.size(); ++i) {
    if (handled[i]) ::sigaction(kInterrupts[i], &previous_actions[i], nullptr);
    handled[i] = false;
  }
}

// A fresh name in the folder of `target`: hidden, and unlike any other there.
std::string temporary_name_for(const std::string& target) {
  static std::mt19937_64 random{std::random_device{}()};
  const std::size_t slash = target.rfind('/');
  const std::size_t name_at = slash == std::string::npos ? 0 : slash + 1;
  constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string tag(8, ' ');
  for (char& c : tag) c = kLetters[random() % kLetters.size()];
  return target.substr(0, name_at) + "." + target.substr(name_at) + "." + tag + ".tmp";
}

// A new file that has no name until it is linked in, or -1.
int create_unnamed(const std::string& folder) {
#ifdef ZUR_HAVE_O_TMPFILE
  // Read and write for everyone the umask allows, like any file a user saves.
  return ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
#else
  (void)folder;
  errno = EOPNOTSUPP;
  return -1;
#endif
}

// A new file under a fresh temporary name beside `target`, registered for
// removal on interruption; -1 with errno set when none can be made.
int create_named(const std::string& target, std::string& name) {
  constexpr int kAttempts = 16;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const InterruptsHeld held;
    name = temporary_name_for(target);
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      remove_on_interrupt(name);
      return fd;
    }
    if (errno != EEXIST) break;
  }
  const int error = errno;
  name.clear();
  errno = error;
  return -1;
}

// Gives the unnamed file `fd` the name `name`; fails with EEXIST when the
// name exists.
bool link_unnamed(int fd, const std::string& name) {
  const std::string descriptor = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
    return true;
  }
#ifdef AT_EMPTY_PATH
  if (errno != EEXIST) return ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
#endif
  return false;
}

// Renames `from` to `to` unless `to` exists, atomically where the system can.
bool rename_no_replace(const std::string& from, const std::string& to) {
#ifdef ZUR_HAVE_RENAMEAT2
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
#endif
  // A second name, made only where none exists, then the first removed.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

}  // namespace

const std::string_view kTextLineEnd = "\n";

// ---- Paths

std::string folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

namespace {

// A new file beside the one it is to replace (see NewFile): unnamed where
// the file system allows, else under a hidden temporary name that is
// registered for removal on interruption.
class PosixNewFile final : public NewFile {
 public:
  explicit PosixNewFile(System& system) : system_(system) {}
  ~PosixNewFile() override { discard(); }

  std::error_code create(const std::string& target) {
    int fd = create_unnamed(folder_of(target));
    unnamed_ = fd >= 0;
    if (!unnamed_) fd = create_named(target, name_);
    if (fd < 0) return last_error();
    file_ = fd;
    return {};
  }

  std::error_code write_at(std::uint64_t offset, const void* data, std::size_t count) override {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (count > 0) {
      const ssize_t written = ::pwrite(fd_of(file_), bytes, count, static_cast<off_t>(offset));
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) return last_error();
      if (written == 0) return std::make_error_code(std::errc::no_space_on_device);
      bytes += written;
      offset += static_cast<std::uint64_t>(written);
      count -= static_cast<std::size_t>(written);
    }
    return {};
  }

  std::error_code read_at(std::uint64_t offset, void* into, std::size_t count) override {
    return read_exactly(system_, file_, offset, into, count);
  }

  void copy_permissions_of(const std::string& target) override {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) ::fchmod(fd_of(file_), info.st_mode & kPermissionBits);
  }

  void start_write_back(std::uint64_t from, std::uint64_t end) override {
#ifdef ZUR_HAVE_SYNC_FILE_RANGE
    ::sync_file_range(fd_of(file_), static_cast<off_t>(from), static_cast<off_t>(end - from),
                      SYNC_FILE_RANGE_WRITE);
#else
    (void)from;
    (void)end;
#endif
  }

  void drop_from_cache(std::uint64_t from, std::uint64_t end) override {
#ifdef ZUR_HAVE_SYNC_FILE_RANGE
    ::sync_file_range(
        fd_of(file_), static_cast<off_t>(from), static_cast<off_t>(end - from),
        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
#endif
#ifdef ZUR_HAVE_POSIX_FADVISE
    ::posix_fadvise(fd_of(file_), static_cast<off_t>(from), static_cast<off_t>(end - from),
                    POSIX_FADV_DONTNEED);
#endif
    (void)from;
    (void)end;
  }

  std::error_code put_in_place(const std::string& target, bool replace) override {
    std::error_code error;
    {
      const InterruptsHeld held;
      if (unnamed_ && !replace) {
        // Linked in under the target's own name, which fails when it exists.
        if (!link_unnamed(fd_of(file_), target)) error = last_error();
        if (!error) unnamed_ = false;
        if (!error && ::close(fd_of(std::exchange(file_, kNoFile))) != 0) {
          error = last_error();
          ::unlink(target.c_str());
        }
      } else {
        if (unnamed_) {
          name_ = temporary_name_for(target);
          if (link_unnamed(fd_of(file_), name_)) {
            remove_on_interrupt(name_);
          } else {
            error = last_error();
            name_.clear();
          }
        }
        unnamed_ = false;
        if (!error && ::close(fd_of(std::exchange(file_, kNoFile))) != 0) error = last_error();
        if (!error && (replace ? ::rename(name_.c_str(), target.c_str()) != 0
                               : !rename_no_replace(name_, target))) {
          error = last_error();
        }
        if (!error) {
          forget_on_interrupt(name_);
          name_.clear();
        }
      }
    }
    discard();
    return error;
  }

 private:
  // Closes and removes the file, if still there.
  void discard() {
    if (file_ != kNoFile) ::close(fd_of(std::exchange(file_, kNoFile)));
    unnamed_ = false;
    if (name_.empty()) return;
    const InterruptsHeld held;
    ::unlink(name_.c_str());
    forget_on_interrupt(name_);
    name_.clear();
  }

  System& system_;  // that made it, and reads it back
  FileHandle file_ = kNoFile;
  std::string name_;      // empty while it has none
  bool unnamed_ = false;  // created without a name; one is given on put_in_place
};

class PosixSystem final : public System {
 public:
  std::error_code file_status(const std::string& path, FileStatus& status) override {
    struct stat info {};
    status = {};
    if (::stat(path.c_str(), &info) == 0) {
      status = status_from(info);
      return {};
    }
    if (errno == ENOENT || errno == ENOTDIR) return {};
    return last_error();
  }

  bool name_exists(const std::string& path) override { return portable::name_exists(path); }

  std::string final_path(const std::string& start) override {
    std::string path = start;
    for (int followed = 0; followed < kMostLinksFollowed; ++followed) {
      struct stat info {};
      if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
      std::string link(static_cast<std::size_t>(info.st_size) + 1, '\0');
      const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
      if (length < 0 || static_cast<std::size_t>(length) >= link.size()) return path;
      link.resize(static_cast<std::size_t>(length));
      path = link.starts_with('/') ? link : folder_of(path) + "/" + link;
    }
    return path;  // a loop: opening it fails
  }

  std::error_code remove_file(const std::string& path) override {
    return ::unlink(path.c_str()) == 0 ? std::error_code{} : last_error();
  }

  std::error_code may_write(const std::string& path) override {
    // Non-blocking, so that nothing waits; O_TRUNC is not given, so nothing changes.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return last_error();
    ::close(fd);
    return {};
  }

  std::error_code folder_entries(const std::string& folder,
                                 std::vector<FolderEntry>& entries) override {
    return portable::folder_entries(folder, entries);
  }

  // POSIX file systems tell names apart by letter case; a mounted FAT or
  // case-folded folder, which would not, is taken to as well.
  bool ignores_letter_case(const std::string&) override { return false; }

  std::error_code open_for_reading(const std::string& path, FileHandle& file) override {
    file = kNoFile;
    // Non-blocking, so that a named pipe is refused instead of waited on; it
    // changes nothing for the regular files that are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return last_error();
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      const std::error_code error = S_ISREG(info.st_mode) ? last_error() : not_a_regular_file();
      ::close(fd);
      return error;
    }
    file = fd;
    return {};
  }

  std::error_code status_of(FileHandle file, FileStatus& status) override {
    struct stat info {};
    if (::fstat(fd_of(file), &info) != 0) return last_error();
    status = status_from(info);
    return {};
  }

  std::error_code read_at(FileHandle file, std::uint64_t offset, void* into, std::size_t count,
                          std::size_t& got) override {
    for (;;) {
      const ssize_t read = ::pread(fd_of(file), into, count, static_cast<off_t>(offset));
      if (read < 0 && errno == EINTR) continue;
      if (read < 0) return last_error();
      got = static_cast<std::size_t>(read);
      return {};
    }
  }

  std::uint64_t next_data(FileHandle file, std::uint64_t from, std::uint64_t size) override {
#ifdef SEEK_DATA
    const off_t data = ::lseek(fd_of(file), static_cast<off_t>(from), SEEK_DATA);
    if (data >= 0) return static_cast<std::uint64_t>(data);
    // No more data after the position: the rest of the file is one hole.
    if (errno == ENXIO) return size;
#else
    (void)file;
    (void)size;
#endif
    return from;
  }

  void close_file(FileHandle file) override {
    if (file != kNoFile) ::close(fd_of(file));
  }

  const std::uint8_t* map_read_only(FileHandle file, std::uint64_t size) override {
    void* data =
        ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_PRIVATE, fd_of(file), 0);
    return data == MAP_FAILED ? nullptr : static_cast<const std::uint8_t*>(data);
  }

  void unmap(const std::uint8_t* data, std::uint64_t size) override {
    if (data != nullptr) ::munmap(const_cast<std::uint8_t*>(data), static_cast<std::size_t>(size));
  }

  std::error_code create_temporary(const std::string& target,
                                   std::unique_ptr<NewFile>& file) override {
    auto created = std::make_unique<PosixNewFile>(*this);
    const std::error_code error = created->create(target);
    if (!error) file = std::move(created);
    return error;
  }

  // An unnamed temporary file leaves nothing when the program is killed; a
  // named one may, but only Windows can tell whether another program still
  // uses such a file, so here none is removed.
  void remove_stale_temporaries(const std::string&) override {}
};

}  // namespace

System& default_system() {
  static PosixSystem system;
  return system;
}

void remove_on_interrupt(const std::string& name) {
  const InterruptsHeld held;
  if (name.empty() || name.size() >= sizeof registered[0]) return;
  for (char* slot : registered) {
    if (slot[0] != '\0') continue;
    std::memcpy(slot, name.c_str(), name.size() + 1);
    if (registered_count++ == 0) install_handlers();
    return;
  }
}

void forget_on_interrupt(const std::string& name) {
  const InterruptsHeld held;
  for (char* slot : registered) {
    if (slot[0] == '\0' || name != slot) continue;
    slot[0] = '\0';
    if (--registered_count == 0) restore_handlers();
    return;
  }
}

// ---- Standard streams and the console

namespace {

int descriptor_of(Stream stream) {
  switch (stream) {
    case Stream::kIn:
      return STDIN_FILENO;
    case Stream::kOut:
      return STDOUT_FILENO;
    case Stream::kErr:
      return STDERR_FILENO;
  }
  return -1;
}

}  // namespace

bool is_terminal(Stream stream) {
  return ::isatty(descriptor_of(stream)) == 1;
}

int terminal_columns(Stream stream) {
  winsize size{};
  if (::ioctl(descriptor_of(stream), TIOCGWINSZ, &size) == 0) return size.ws_col;
  return 0;
}

void prepare_console() {}

bool alone_in_console() {
  return false;
}

std::vector<std::string> expand_wildcards(const std::string& argument) {
  return {argument};
}

}  // namespace zur::platform
