// SPDX-License-Identifier: MIT
#include <windows.h>

#include <system_error>

#include "tests/support/level_sources.h"
#include "tests/support/run_command.h"

namespace zur::test {
namespace {

std::wstring wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), text.data(), size);
  return text;
}

// `arg` quoted so that the C runtime's parse of the command line gives it
// back: backslashes count as escapes only before a quotation mark.
std::wstring quoted(const std::wstring& arg) {
  std::wstring text = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    text.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    text += c;
  }
  return text.append(2 * backslashes, L'\\') + L"\"";
}

// A handle the child inherits, closed when the object goes.
struct InheritedFile {
  HANDLE handle;
  InheritedFile(const std::filesystem::path& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    handle = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  InheritedFile(const InheritedFile&) = delete;
  InheritedFile& operator=(const InheritedFile&) = delete;
  ~InheritedFile() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

std::filesystem::path path_of(const std::string& utf8) {
  return std::u8string(utf8.begin(), utf8.end());
}

// The writing end of a pipe whose reading end is closed.
struct LostOutput {
  HANDLE write = INVALID_HANDLE_VALUE;
  LostOutput() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = INVALID_HANDLE_VALUE;
    if (!CreatePipe(&read, &write, &inherit, 0)) write = INVALID_HANDLE_VALUE;
    if (read != INVALID_HANDLE_VALUE) CloseHandle(read);
  }
  LostOutput(const LostOutput&) = delete;
  LostOutput& operator=(const LostOutput&) = delete;
  ~LostOutput() {
    if (write != INVALID_HANDLE_VALUE) CloseHandle(write);
  }
};

// The C runtime writes a line end to a text stream as CR LF; the tests read
// what the programs say as the POSIX programs say it.
std::string with_line_feeds(std::string text) {
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) text.erase(at, 1);
  return text;
}

}  // namespace

std::optional<std::string> lost_output_reason() {
  return std::nullopt;
}

bool has_pseudo_terminals() {
  return false;
}

CommandOutput run_command(const std::string& program, const std::vector<std::string>& args,
                          const std::filesystem::path& folder, const CommandSetup& setup) {
  if (setup.err_on_terminal || setup.typed_input) return {};
  TempDir captures;
  const std::filesystem::path out_path = captures.path() / "out";
  const std::filesystem::path err_path = captures.path() / "err";
  CommandOutput output;
  {
    const InheritedFile in(L"NUL", GENERIC_READ, OPEN_EXISTING);
    const InheritedFile out(out_path, GENERIC_WRITE, CREATE_ALWAYS);
    const InheritedFile err(err_path, GENERIC_WRITE, CREATE_ALWAYS);
    const LostOutput lost;
    for (const HANDLE handle : {in.handle, out.handle, err.handle, lost.write}) {
      if (handle == INVALID_HANDLE_VALUE) return {};
    }
    // The program's path made absolute here: the child starts in `folder`.
    const std::wstring path = std::filesystem::absolute(path_of(program)).wstring();
    std::wstring command_line = quoted(path);
    for (const std::string& arg : args) command_line += L" " + quoted(wide(arg));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.handle;
    startup.hStdOutput = setup.out_lost ? lost.write : out.handle;
    startup.hStdError = err.handle;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
      return {};
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    const bool exited = GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    // A crash ends the program with an exception code, not a status.
    if (exited && code < 256) output.status = static_cast<int>(code);
  }
  output.err = with_line_feeds(read_whole(err_path));
  output.out = with_line_feeds(read_whole(out_path));
  return output;
}

int as_unprivileged(const std::function<int()>& body) {
  return body();
}

}  // namespace zur::test
