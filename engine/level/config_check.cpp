// SPDX-License-Identifier: MIT
#include "engine/level/config_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>

#include "engine/level/config_grammar.h"
#include "engine/level/config_reader.h"
#include "engine/level/config_text.h"
#include "engine/level/shared/byte_order.h"
#include "engine/level/shared/settings.h"

namespace zur {
namespace {

using namespace config_grammar;
using namespace config_text;

// A value line as the check reads it: its number and whether the conversion
// takes it in (a rejected value leaves the field and its found flag alone).
struct Setting {
  std::int64_t keyword_line;
  std::int64_t value_line;
  std::string value;
  bool accepted;
};

struct NumberReading {
  std::int32_t value;  // what the conversion reads
  bool plain;          // blanks, an optional sign, digits, blanks and nothing else
  bool fits_32_bits;
};

NumberReading read_number(std::string_view text) {
  const IntegerText number = scan_integer(text);
  std::size_t end = number.end;
  while (end < text.size() && is_space(text[end])) ++end;
  const std::int64_t limit =
      std::int64_t{std::numeric_limits<std::int32_t>::max()} + number.negative;
  return {clamped(number), number.digits > 0 && end == text.size(), number.magnitude <= limit};
}

// A zero byte is shown as \0, so that no message holds one and every
// message prints whole.
std::string quoted(std::string_view text) {
  std::string result(1, '"');
  for (const char c : text) {
    if (c == '\0') {
      result.append("\\0");
    } else {
      result.push_back(c);
    }
  }
  result.push_back('"');
  return result;
}

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
    LevelSettings before = record_;  // what a refused value leaves
    const bool accepted = values_.take(index, value);
    switch (keyword.kind) {
      case ValueKind::Text:
        check_text(index, value, field::kTextSize, line);
        break;
      case ValueKind::YesNo:
        if (!accepted) report_bad_yes_no(index, value, *before.at(keyword.offset), line);
        break;
      case ValueKind::Integer:
        check_integer(keyword_name(index), value, keyword.size, line);
        break;
      case ValueKind::Tenths:
        check_tenths(index, value, line);
        break;
      case ValueKind::IntegerTriple:
        check_triple(index, value, accepted, before.at(keyword.offset), line);
        break;
      case ValueKind::SignText:
        check_sign(value, {}, before.sign_count(), line);
        break;
      case ValueKind::SignPair:
        check_sign_pair(value, accepted, before.sign_count(), line);
        break;
    }
    if (index < kCountedKeywords) {
      settings_[index].push_back({keyword_line, line, std::string(value), accepted});
    }
  }

  void check_text(std::size_t index, std::string_view value, std::size_t field_size,
                  std::int64_t line) {
    if (value.size() >= field_size) {
      add(ProblemCode::kTextCut, line,
          keyword_name(index) + " text of " + counted(value.size(), "character") +
              ": the level keeps its first " + std::to_string(field_size - 1));
    }
    check_zero_byte(keyword_name(index) + " text", value, field_size, line);
  }

  // The game reads a text up to its first zero byte.
  void check_zero_byte(const std::string& what, std::string_view text, std::size_t field_size,
                       std::int64_t line) {
    const std::size_t zero = text.substr(0, field_size - 1).find('\0');
    if (zero == std::string_view::npos) return;
    add(ProblemCode::kTextNulByte, line,
        what + " holds a zero byte at character " + std::to_string(zero + 1) +
            ": the level keeps only " + quoted(text.substr(0, zero)));
  }

  void report_bad_yes_no(std::size_t index, std::string_view value, std::uint8_t stays,
                         std::int64_t line) {
    add(ProblemCode::kBadYesNo, line,
        keyword_name(index) + " value " + quoted(value) + " is neither yes nor no: ignored, " +
            std::string(kKeywords[index].name) + " stays " + (stays ? "yes" : "no"));
  }

  // A field of `size` bytes keeps what put_integer keeps of the number.
  void check_integer(const std::string& what, std::string_view value, std::size_t size,
                     std::int64_t line) {
    const NumberReading number = read_number(value);
    const std::int32_t kept = stored_integer(number.value, size);
    const std::string stored = std::to_string(kept);
    if (!number.plain) {
      add(ProblemCode::kBadNumber, line,
          what + " value " + quoted(value) + " is not a number: read as " +
              std::to_string(number.value) + ", stored " + stored);
    } else if (!number.fits_32_bits || kept != number.value) {
      add(ProblemCode::kNumberOutOfRange, line,
          what + " value " + quoted(value) + " does not fit " +
              (size == 4 ? "32 bits" : "0 to 255") + ": stored " + stored);
    }
  }

  void check_tenths(std::size_t index, std::string_view value, std::int64_t line) {
    const NumberReading number = read_number(value);
    const std::int32_t quotient = number.value / 10;
    const std::uint8_t stored = low_byte(quotient);
    const std::string outcome =
        "stored " + std::to_string(stored) + ", that is " + std::to_string(stored * 10);
    if (!number.plain) {
      add(ProblemCode::kBadNumber, line,
          keyword_name(index) + " value " + quoted(value) + " is not a number: read as " +
              std::to_string(number.value) + ", " + outcome);
    } else if (number.value % 10 != 0 || quotient < 0 || quotient > 255) {
      add(ProblemCode::kNumberOutOfRange, line,
          keyword_name(index) + " value " + quoted(value) +
              " is not a multiple of 10 from 0 to 2550: " + outcome);
    }
  }

  // `stays`: the three numbers before the value.
  void check_triple(std::size_t index, std::string_view value, bool accepted,
                    const std::uint8_t* stays, std::int64_t line) {
    if (!accepted) {
      add(ProblemCode::kBadTriple, line,
          keyword_name(index) + " value " + quoted(value) +
              " has fewer than two commas among its first " + std::to_string(kCommaSearchLength) +
              " characters: ignored, it stays " + std::to_string(stays[0]) + "," +
              std::to_string(stays[1]) + "," + std::to_string(stays[2]));
      return;
    }
    const std::size_t first = *find_comma(value, 0);
    const std::size_t second = *find_comma(value, first + 1);
    const std::array<std::string_view, 3> parts = {value.substr(0, first),
                                                   value.substr(first + 1, second - first - 1),
                                                   value.substr(second + 1)};
    for (std::size_t i = 0; i < parts.size(); ++i) {
      check_integer(keyword_name(index) + " number " + std::to_string(i + 1), parts[i], 1, line);
    }
  }

  void check_sign_pair(std::string_view value, bool accepted, std::size_t signs_before,
                       std::int64_t line) {
    if (!accepted) {
      add(ProblemCode::kBadSignPair, line,
          "/SIGNTEXT2 value " + quoted(value) + " has no comma among its first " +
              std::to_string(kCommaSearchLength) + " characters: no sign is made of it");
      return;
    }
    const std::size_t comma = *find_comma(value, 0);
    check_sign(value.substr(0, comma), value.substr(comma + 1), signs_before, line);
  }

  void check_sign(std::string_view first, std::string_view second, std::size_t signs_before,
                  std::int64_t line) {
    if (signs_before == field::kSignSlots) {
      add(ProblemCode::kTooManySigns, line,
          "sign " + std::to_string(signs_before + 1) + " does not fit: a level holds " +
              std::to_string(field::kSignSlots) + " signs, the rest are skipped");
      return;
    }
    for (const std::string_view half : {first, second}) {
      if (half.size() >= field::kSignHalfSize) {
        add(ProblemCode::kTextCut, line,
            "sign text " + quoted(half) + " is cut to its first " +
                std::to_string(field::kSignHalfSize - 1) + " characters " +
                quoted(half.substr(0, field::kSignHalfSize - 1)));
      }
      check_zero_byte("sign text " + quoted(half), half, field::kSignHalfSize, line);
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
    LevelSettings defaults;
    for (std::size_t index = 0; index < kCountedKeywords; ++index) {
      if (!settings_[index].empty()) continue;
      add(ProblemCode::kMissingKeyword, std::nullopt,
          keyword_name(index) + " is missing: the level gets the default " +
              default_text(defaults, kKeywords[index]));
    }
  }

  static std::string default_text(LevelSettings& defaults, const Keyword& keyword) {
    const std::uint8_t* at = defaults.at(keyword.offset);
    switch (keyword.kind) {
      case ValueKind::Text:
        return quoted(reinterpret_cast<const char*>(at));
      case ValueKind::YesNo:
        return *at ? "yes" : "no";
      case ValueKind::IntegerTriple:
        return std::to_string(at[0]) + "," + std::to_string(at[1]) + "," + std::to_string(at[2]);
      case ValueKind::Integer:
        return std::to_string(get_integer(at, keyword.size));
      case ValueKind::Tenths:
        return std::to_string(*at) + " (as " + std::to_string(*at * 10) + " would give)";
      case ValueKind::SignText:
      case ValueKind::SignPair:
        break;
    }
    return {};
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
