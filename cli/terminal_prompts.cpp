#include "cli/terminal_prompts.h"

#include <unistd.h>

#include <string>

namespace zur::cli {
namespace {

constexpr int kBarWidth = 40;

}  // namespace

void TerminalPrompts::show_message(const std::string& text, Icon icon) {
  const bool error = icon == Icon::Error;
  if (options_.quiet && !error) return;
  clear_progress();
  std::fprintf(error ? terminal_.err : terminal_.out, "%s\n\n", text.c_str());
  std::fflush(error ? terminal_.err : terminal_.out);
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
    std::fflush(terminal_.out);
  }
  return answer;
}

// Asks the person at the terminal. The question is shown even with --quiet:
// nobody can answer what they cannot see.
bool TerminalPrompts::read_answer(const std::string& text) {
  std::FILE* shown = options_.quiet ? terminal_.err : terminal_.out;
  std::fprintf(shown, "%s [y/N] ", text.c_str());
  std::fflush(shown);
  std::string line;
  for (int c = std::fgetc(terminal_.in); c != EOF && c != '\n'; c = std::fgetc(terminal_.in)) {
    line += static_cast<char>(c);
  }
  const bool yes = !line.empty() && (line[0] == 'y' || line[0] == 'Y');
  // The terminal's echo of a typed line ends the question's line only on
  // that terminal; elsewhere, or when the input ended first, the answer
  // taken is written out.
  if (std::feof(terminal_.in) || ::isatty(::fileno(shown)) != 1) {
    std::fprintf(shown, "%s\n", yes ? "y" : "n");
    std::fflush(shown);
  }
  return yes;
}

void TerminalPrompts::set_progress(int position) {
  if (!terminal_.err_is_terminal) return;
  if (position == 0) {
    clear_progress();
    return;
  }
  const int filled = position * kBarWidth / 100;
  std::fprintf(terminal_.err, "\r[%s%s] %3d%%", std::string(filled, '#').c_str(),
               std::string(kBarWidth - filled, '.').c_str(), position);
  std::fflush(terminal_.err);
  progress_drawn_ = true;
}

void TerminalPrompts::clear_progress() {
  if (!progress_drawn_) return;
  std::fprintf(terminal_.err, "\r\033[K");
  std::fflush(terminal_.err);
  progress_drawn_ = false;
}

}  // namespace zur::cli
