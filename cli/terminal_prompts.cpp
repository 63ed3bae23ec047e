// SPDX-License-Identifier: MIT
#include "terminal_prompts.h"

#include <cerrno>
#include <string>
#include <string_view>

namespace zur::cli {
namespace {

constexpr std::size_t kBarWidth = 40;
constexpr std::size_t kBarLength = kBarWidth + 7;  // "[####....] 100%"
constexpr std::string_view kCut = "...";

std::size_t terminal_columns() {
  const int columns = console::terminal_columns(console::Stream::kErr);
  return columns > 0 ? static_cast<std::size_t>(columns) : 80;
}

// The level's name shortened from the left to at most `room` bytes, cut
// between UTF-8 characters; empty when not even a short tail fits.
std::string name_within(const std::string& name, std::size_t room) {
  if (name.size() <= room) return name;
  if (room < kCut.size() + 4) return {};
  std::size_t from = name.size() - (room - kCut.size());
  while (from < name.size() && (static_cast<unsigned char>(name[from]) & 0xC0) == 0x80) ++from;
  return std::string(kCut) + name.substr(from);
}

}  // namespace

void TerminalPrompts::start_level(const std::string& level, std::size_t place, std::size_t count) {
  level_ = shown_level(level);
  bar_place_.clear();
  if (count > 1) {
    bar_place_.append("[").append(std::to_string(place)).append("/");
    bar_place_.append(std::to_string(count)).append("] ");
  }
}

// An error names its level on a line of its own, so that the message itself
// stays verbatim and a script can still tell which level failed.
void TerminalPrompts::show_message(const std::string& text, Icon icon) {
  const bool error = icon == Icon::Error;
  if (options_.quiet && !error) return;
  clear_progress();
  std::FILE* stream = error ? terminal_.err : terminal_.out;
  if (error) std::fprintf(stream, "zurconv: %s:\n", level_.c_str());
  std::fprintf(stream, "%s\n\n", text.c_str());
  flush(stream);
}

void TerminalPrompts::show_failure(const std::string& text, Icon icon,
                                   std::span<const Error> reasons) {
  show_message(text, icon);
  for (const Error& reason : reasons) {
    std::fprintf(terminal_.err, "zurconv: %s: %s\n", level_.c_str(), reason.text().c_str());
  }
  flush(terminal_.err);
}

void TerminalPrompts::show_batch_failure(const std::string& text) {
  clear_progress();
  std::fprintf(terminal_.err, "zurconv: %s\n", text.c_str());
  flush(terminal_.err);
}

bool TerminalPrompts::ask_yes_no(const std::string& text, Icon, Question question) {
  clear_progress();
  bool answer = false;
  switch (question) {
    case Question::IllegalColour:
      if (options_.illegal_colours == IllegalColourAnswer::Ask && terminal_.in_is_terminal) {
        return read_answer(text);
      }
      answer = options_.illegal_colours == IllegalColourAnswer::Yes;
      break;
    case Question::ConversionInfo:
      answer = options_.show_statistics;
      break;
    case Question::RepairHint:
      break;
  }
  if (!options_.quiet) {
    std::fprintf(terminal_.out, "%s [y/N] %s\n", text.c_str(), answer ? "y" : "n");
    flush(terminal_.out);
  }
  return answer;
}

// Asks the person at the terminal. The question is shown even with --quiet:
// nobody can answer what they cannot see.
bool TerminalPrompts::read_answer(const std::string& text) {
  std::FILE* shown = options_.quiet ? terminal_.err : terminal_.out;
  std::fprintf(shown, "%s [y/N] ", text.c_str());
  flush(shown);
  std::string line;
  for (int c = std::fgetc(terminal_.in); c != EOF && c != '\n'; c = std::fgetc(terminal_.in)) {
    line += static_cast<char>(c);
  }
  const bool yes = !line.empty() && (line[0] == 'y' || line[0] == 'Y');
  // The terminal's echo of a typed line ends the question's line only on
  // that terminal; elsewhere, or when the input ended first, the answer
  // taken is written out.
  const bool shown_on_terminal =
      console::is_terminal(shown == terminal_.err ? console::Stream::kErr : console::Stream::kOut);
  if (std::feof(terminal_.in) || !shown_on_terminal) {
    std::fprintf(shown, "%s\n", yes ? "y" : "n");
    flush(shown);
  }
  return yes;
}

void TerminalPrompts::set_progress(int position) {
  if (!terminal_.err_is_terminal || options_.quiet) return;
  if (position == 0) {
    clear_progress();
    return;
  }
  draw_progress(position);
}

// Drawn again only when the bar's position changes.
void TerminalPrompts::keep_alive(double rows_done) {
  if (!terminal_.err_is_terminal || options_.quiet) return;
  const int position = progress_during_pass(rows_done);
  if (position != progress_drawn_) draw_progress(position);
}

// The bar stays on one line, so that a carriage return goes back to its
// start; a terminal wraps before its last column.
void TerminalPrompts::draw_progress(int position) {
  std::string label;
  if (!bar_place_.empty()) {
    const std::size_t room = terminal_columns() - 1;
    const std::size_t fixed = bar_place_.size() + 1 + kBarLength;
    const std::string name = room > fixed ? name_within(level_, room - fixed) : "";
    if (!name.empty()) label = bar_place_ + name + " ";
  }
  const std::size_t filled = static_cast<std::size_t>(position) * kBarWidth / 100;
  std::fprintf(terminal_.err, "\r%s[%s%s] %3d%%", label.c_str(), std::string(filled, '#').c_str(),
               std::string(kBarWidth - filled, '.').c_str(), position);
  std::fflush(terminal_.err);
  progress_drawn_ = position;
}

void TerminalPrompts::clear_progress() {
  if (progress_drawn_ == 0) return;
  std::fprintf(terminal_.err, "\r\033[K");
  std::fflush(terminal_.err);
  progress_drawn_ = 0;
}

void TerminalPrompts::flush(std::FILE* stream) {
  errno = 0;
  const bool failed = std::fflush(stream) != 0 || std::ferror(stream);
  if (failed && stream == terminal_.out && output_error_ == 0) {
    output_error_ = errno != 0 ? errno : EIO;
  }
}

}  // namespace zur::cli
