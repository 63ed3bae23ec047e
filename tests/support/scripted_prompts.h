// SPDX-License-Identifier: MIT
// A user-prompts object for tests: records every message (a failure's
// system reasons apart from its text), question, progress position and
// keep-alive in order, and answers questions from a script.
#pragma once

#include <cstddef>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "zur/prompts.h"

namespace zur::test {

struct KeptAlive {
  double rows_done;
  std::size_t positions_before;  // how many progress positions had been set
};

struct Prompt {
  enum class Kind { Message, Question };
  Kind kind;
  std::string text;
  Icon icon;
  std::vector<std::string> reasons;  // a failure's, as their texts
};

class ScriptedPrompts : public UserPrompts {
 public:
  // Answers for the questions of each kind, taken in order; a kind whose
  // answers run out is answered no.
  std::deque<bool> illegal_colour_answers;
  std::deque<bool> info_answers;
  std::deque<bool> repair_answers;

  std::vector<Prompt> prompts;
  std::vector<int> progress;
  std::vector<KeptAlive> kept_alive;

  void show_message(const std::string& text, Icon icon) override {
    prompts.push_back({Prompt::Kind::Message, text, icon, {}});
  }

  void show_failure(const std::string& text, Icon icon, std::span<const Error> reasons) override {
    prompts.push_back({Prompt::Kind::Message, text, icon, {}});
    for (const Error& reason : reasons) prompts.back().reasons.push_back(reason.text());
  }

  bool ask_yes_no(const std::string& text, Icon icon, Question question) override {
    prompts.push_back({Prompt::Kind::Question, text, icon, {}});
    std::deque<bool>& answers = question == Question::IllegalColour    ? illegal_colour_answers
                                : question == Question::ConversionInfo ? info_answers
                                                                       : repair_answers;
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  void set_progress(int position) override { progress.push_back(position); }

  void keep_alive(double rows_done) override { kept_alive.push_back({rows_done, progress.size()}); }

  std::vector<std::string> messages() const {
    std::vector<std::string> texts;
    for (const Prompt& p : prompts) {
      if (p.kind == Prompt::Kind::Message) texts.push_back(p.text);
    }
    return texts;
  }
};

}  // namespace zur::test
