// SPDX-License-Identifier: MIT
// The front-end interface's prompts, level files and console; the batch is
// in batch.cpp.
#include "engine/level/front_end.h"

#include "engine/attrmap/compiler.h"
#include "engine/base/ascii.h"
#include "engine/base/platform.h"

namespace zur {

void LevelNamingPrompts::start_level(const std::string& level, std::size_t, std::size_t count) {
  line_ = count > 1 ? shown_level(level) + ":\n" : "";
}

void LevelNamingPrompts::show_batch_failure(const std::string& text) {
  shown_.show_message(text, Icon::Error);
}

void LevelNamingPrompts::show_message(const std::string& text, Icon icon) {
  shown_.show_message(icon == Icon::Error ? line_ + text : text, icon);
}

void LevelNamingPrompts::show_failure(const std::string& text, Icon icon,
                                      std::span<const Error> reasons) {
  shown_.show_failure(icon == Icon::Error ? line_ + text : text, icon, reasons);
}

bool LevelNamingPrompts::ask_yes_no(const std::string& text, Icon icon, Question question) {
  return shown_.ask_yes_no(line_ + text, icon, question);
}

void LevelNamingPrompts::set_progress(int position) {
  shown_.set_progress(position);
}

void LevelNamingPrompts::keep_alive(double rows_done) {
  shown_.keep_alive(rows_done);
}

int progress_during_pass(double rows_done) {
  return progress::during_pass(rows_done);
}

// As the path library would join them: the level's folder loses the
// separators after its last name, and a separator is put between folder and
// name unless the folder ends in one or is a bare drive ("C:").
std::string unpack_prefix(const std::string& level, const std::string& folder) {
  const std::size_t start = name_start(level);
  std::string name = level.substr(start);
  const std::string_view suffix = suffix::kLevelFile;
  if (name.size() > suffix.size() && ends_with_ignoring_case(name, suffix)) {
    name.resize(name.size() - suffix.size());
  }
  std::string parent = folder;
  if (parent.empty()) {
    std::size_t end = start;
    while (end > root_length(level) && is_folder_separator(level[end - 1])) --end;
    parent = level.substr(0, end);
  }
  const bool windows = kNativePathSyntax == PathSyntax::kWindows;
  const bool bare_drive = windows && parent.size() == 2 && parent[1] == ':';
  if (parent.empty() || bare_drive || is_folder_separator(parent.back())) return parent + name;
  return parent + (windows ? '\\' : '/') + name;
}

namespace console {
namespace {

platform::Stream platform_stream(Stream stream) {
  switch (stream) {
    case Stream::kIn:
      return platform::Stream::kIn;
    case Stream::kOut:
      return platform::Stream::kOut;
    case Stream::kErr:
      break;
  }
  return platform::Stream::kErr;
}

}  // namespace

bool is_terminal(Stream stream) {
  return platform::is_terminal(platform_stream(stream));
}

int terminal_columns(Stream stream) {
  return platform::terminal_columns(platform_stream(stream));
}

void prepare() {
  platform::prepare_console();
}

bool alone() {
  return platform::alone_in_console();
}

std::vector<std::string> expand_wildcards(const std::string& argument) {
  return platform::expand_wildcards(argument);
}

}  // namespace console
}  // namespace zur
