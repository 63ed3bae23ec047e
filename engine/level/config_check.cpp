// SPDX-License-Identifier: MIT
#include "engine/level/config_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "engine/conversion/settings.h"
#include "engine/level/config_grammar.h"
#include "engine/level/config_reader.h"
#include "engine/level/value_kinds.h"

namespace zur {
namespace {

using namespace config_grammar;

// A value line as the check reads it: its number and whether the conversion
// takes it in (a rejected value leaves the field and its found flag alone).
struct Setting {
  std::int64_t keyword_line;
  std::int64_t value_line;
  std::string value;
  bool accepted;
};

std::string keyword_name(std::size_t index) {
  return std::string(1, '/').append(kKeywords[index].name);
}

class ConfigChecker {
 public:
  ConfigChecker(const std::string& file, std::vector<Problem>& problems)
      : file_(file), problems_(problems) {}

  // The settings as the conversion reads them from these lines.
  LevelSettings check(LineReader& lines) {
    LineClassifier classifier(lines);
    for (;;) {
      const ClassifiedLine line = classifier.next();
      check_length(line.line, line.number);
      switch (line.role) {
        case LineRole::kUnknownKeyword:
          report_unknown(line.line.text, line.number);
          break;
        case LineRole::kValue:
          check_value(line.keyword, line.number - 1, line.line.text, line.number);
          break;
        case LineRole::kEmptyValue:
          add(ProblemCode::kEmptyValue, line.number,
              "empty value line after " + keyword_name(line.keyword) +
                  ": the conversion reads no further, so the check stops here too");
          break;
        case LineRole::kNoValue:
          add(ProblemCode::kMissingValue, line.number - 1,
              keyword_name(line.keyword) + " has no value line: the file ends there");
          break;
        case LineRole::kKeywordAtEnd:
          add(ProblemCode::kMissingValue, line.number,
              quoted(line.line.text) +
                  " ends the file without a line feed: the conversion does not "
                  "read it as a keyword");
          break;
        case LineRole::kComment:
        case LineRole::kKeyword:
        case LineRole::kEnd:
          break;
      }
      if (line.last) break;
    }
    report_repeated();
    report_missing();
    return record_;
  }

 private:
  void add(ProblemCode code, std::optional<std::int64_t> line, std::string message) {
    problems_.push_back({code, file_, line, std::nullopt, std::nullopt, std::move(message)});
  }

  void check_length(const Line& line, std::int64_t number) {
    if (line.length <= kMaxConfigLine) return;
    // The zeros of a skipped hole are never counted.
    add(ProblemCode::kLongLine, number,
        "line of " + std::string(line.hole_skipped ? "at least " : "") +
            counted(line.length, "character") + ": the conversion reads only its first " +
            std::to_string(kMaxConfigLine));
  }

  void report_unknown(std::string_view line, std::int64_t number) {
    std::string_view name = line.substr(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    if (name.size() < line.size() - 1 && match_keyword(name)) {
      add(ProblemCode::kKeywordTrailingSpace, number,
          quoted(line) +
              " has a blank or tab after the keyword: the conversion skips it as an "
              "unknown keyword");
    } else {
      add(ProblemCode::kUnknownKeyword, number,
          "unknown keyword line " + quoted(line) + ": skipped");
    }
  }

  void check_value(std::size_t index, std::int64_t keyword_line, std::string_view value,
                   std::int64_t line) {
    const Keyword& keyword = kKeywords[index];
    const LevelSettings before = record_;  // what a refused value leaves
    const bool accepted = values_.take(index, value);
    std::vector<ValueProblem> found;
    value_kind(keyword.kind).check({keyword, keyword_name(index), value, accepted, before}, found);
    for (ValueProblem& problem : found) add(problem.code, line, std::move(problem.message));
    if (index < kCountedKeywords) {
      settings_[index].push_back({keyword_line, line, std::string(value), accepted});
    }
  }

  // Each repeat of a keyword after its first; the conversion keeps the last
  // value it accepted.
  void report_repeated() {
    for (std::size_t index = 0; index < kCountedKeywords; ++index) {
      const std::vector<Setting>& given = settings_[index];
      if (given.size() < 2) continue;
      const Setting* kept = nullptr;
      for (const Setting& setting : given) {
        if (setting.accepted) kept = &setting;
      }
      const std::string keeps = kept ? "the conversion keeps " + quoted(kept->value) + " of line " +
                                           std::to_string(kept->value_line)
                                     : "none of its values is taken";
      for (std::size_t i = 1; i < given.size(); ++i) {
        add(ProblemCode::kDuplicateKeyword, given[i].keyword_line,
            keyword_name(index) + " given again (first at line " +
                std::to_string(given.front().keyword_line) + "); " + keeps);
      }
    }
  }

  void report_missing() {
    const LevelSettings defaults;
    for (std::size_t index = 0; index < kCountedKeywords; ++index) {
      if (!settings_[index].empty()) continue;
      const Keyword& keyword = kKeywords[index];
      add(ProblemCode::kMissingKeyword, std::nullopt,
          keyword_name(index) + " is missing: the level gets the default " +
              value_kind(keyword.kind).describe(keyword, defaults.bytes().data() + keyword.offset));
    }
  }

  const std::string& file_;
  std::vector<Problem>& problems_;
  std::array<std::vector<Setting>, kCountedKeywords> settings_;
  LevelSettings record_;  // as the conversion leaves it so far
  WarningList warnings_;  // the conversion's; the problems say more
  ConfigValues values_{record_, warnings_};
};

}  // namespace

LevelSettings check_level_config(std::string_view text, const std::string& file,
                                 std::vector<Problem>& problems) {
  LineReader lines(text);
  return check_level_config(lines, file, problems);
}

LevelSettings check_level_config(config_grammar::LineReader& lines, const std::string& file,
                                 std::vector<Problem>& problems) {
  const std::size_t from = problems.size();
  const LevelSettings settings = ConfigChecker(file, problems).check(lines);
  // In line order; the missing keywords, which have no line, last.
  std::stable_sort(problems.begin() + static_cast<std::ptrdiff_t>(from), problems.end(),
                   [](const Problem& a, const Problem& b) {
                     return a.line.value_or(INT64_MAX) < b.line.value_or(INT64_MAX);
                   });
  return settings;
}

}  // namespace zur
