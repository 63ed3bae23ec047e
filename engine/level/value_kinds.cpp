// SPDX-License-Identifier: MIT
#include "engine/level/value_kinds.h"

#include <algorithm>
#include <array>
#include <limits>

#include "engine/base/ascii.h"
#include "engine/level/config_reader.h"
#include "engine/level/config_text.h"
#include "engine/level/enum_table.h"

namespace zur {
namespace {

using namespace config_text;

// The record the config reader starts from.
const LevelSettings& defaults() {
  static const LevelSettings settings;
  return settings;
}

std::string triple_text(const std::uint8_t* at) {
  return std::to_string(at[0]) + "," + std::to_string(at[1]) + "," + std::to_string(at[2]);
}

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

// The game reads a text up to its first zero byte.
void check_zero_byte(const std::string& what, std::string_view text, std::size_t field_size,
                     std::vector<ValueProblem>& problems) {
  const std::size_t zero = text.substr(0, field_size - 1).find('\0');
  if (zero == std::string_view::npos) return;
  problems.push_back({ProblemCode::kTextNulByte,
                      what + " holds a zero byte at character " + std::to_string(zero + 1) +
                          ": the level keeps only " + quoted(text.substr(0, zero))});
}

// A field of `size` bytes keeps what put_integer keeps of the number.
void check_integer(const std::string& what, std::string_view value, std::size_t size,
                   std::vector<ValueProblem>& problems) {
  const NumberReading number = read_number(value);
  const std::int32_t kept = stored_integer(number.value, size);
  const std::string stored = std::to_string(kept);
  if (!number.plain) {
    problems.push_back(
        {ProblemCode::kBadNumber, what + " value " + quoted(value) + " is not a number: read as " +
                                      std::to_string(number.value) + ", stored " + stored});
  } else if (!number.fits_32_bits || kept != number.value) {
    problems.push_back({ProblemCode::kNumberOutOfRange,
                        what + " value " + quoted(value) + " does not fit " +
                            (size == 4 ? "32 bits" : "0 to 255") + ": stored " + stored});
  }
}

// A text copied whole with its terminating zero, cut to fit the field.
namespace text {

bool take(ConfigValues& values, const Keyword& keyword, std::string_view value) {
  values.put_text(values.field(keyword), keyword.size, value);
  return true;
}

void check(const CheckedValue& value, std::vector<ValueProblem>& problems) {
  const std::size_t size = value.keyword.size;
  if (value.text.size() >= size) {
    problems.push_back(
        {ProblemCode::kTextCut, value.name + " text of " + counted(value.text.size(), "character") +
                                    ": the level keeps its first " + std::to_string(size - 1)});
  }
  check_zero_byte(value.name + " text", value.text, size, problems);
}

std::string describe(const Keyword&, const std::uint8_t* at) {
  return quoted(reinterpret_cast<const char*>(at));
}

std::optional<std::string> rebuild(const Keyword& keyword, const std::uint8_t* at,
                                   RebuildReasons& reasons) {
  // An empty value line would end the reading, so an empty text is left
  // out where it is the default, and given with zero bytes elsewhere.
  if (std::all_of(at, at + keyword.size, [](std::uint8_t b) { return b == 0; }) &&
      defaults().bytes()[keyword.offset] == 0) {
    return std::nullopt;
  }
  return rebuilt_text(at, keyword.offset, keyword.size, 1, reasons);
}

}  // namespace text

// A value that starts with yes or no, in any letter case: a byte of 1 or 0.
namespace yes_no {

bool take(ConfigValues& values, const Keyword& keyword, std::string_view value) {
  std::uint8_t* at = values.field(keyword);
  if (starts_with_ignoring_case(value, "YES")) {
    *at = 1;
  } else if (starts_with_ignoring_case(value, "NO")) {
    *at = 0;
  } else {
    return false;
  }
  return true;
}

void check(const CheckedValue& value, std::vector<ValueProblem>& problems) {
  if (value.accepted) return;
  const std::uint8_t stays = value.before.bytes()[value.keyword.offset];
  problems.push_back({ProblemCode::kBadYesNo, value.name + " value " + quoted(value.text) +
                                                  " is neither yes nor no: ignored, " +
                                                  std::string(value.keyword.name) + " stays " +
                                                  (stays ? "yes" : "no")});
}

std::string describe(const Keyword&, const std::uint8_t* at) {
  return *at ? "yes" : "no";
}

std::optional<std::string> rebuild(const Keyword& keyword, const std::uint8_t* at,
                                   RebuildReasons& reasons) {
  if (*at > 1) {
    reasons[keyword.offset] = "the yes/no byte is " + std::to_string(*at) +
                              ", which a config file cannot give; it is rebuilt as 1 (yes)";
  }
  return describe(keyword, at);
}

}  // namespace yes_no

// One byte, or four for the random seed: the keyword table gives the width.
namespace integer {

bool take(ConfigValues& values, const Keyword& keyword, std::string_view value) {
  put_integer(values.field(keyword), keyword.size, read_integer(value));
  return true;
}

void check(const CheckedValue& value, std::vector<ValueProblem>& problems) {
  check_integer(value.name, value.text, value.keyword.size, problems);
}

std::string describe(const Keyword& keyword, const std::uint8_t* at) {
  return std::to_string(get_integer(at, keyword.size));
}

std::optional<std::string> rebuild(const Keyword& keyword, const std::uint8_t* at,
                                   RebuildReasons&) {
  return describe(keyword, at);
}

}  // namespace integer

// A number of tenths, stored as a byte of its tens.
namespace tenths {

bool take(ConfigValues& values, const Keyword& keyword, std::string_view value) {
  *values.field(keyword) = low_byte(read_integer(value) / 10);
  return true;
}

void check(const CheckedValue& value, std::vector<ValueProblem>& problems) {
  const NumberReading number = read_number(value.text);
  const std::int32_t quotient = number.value / 10;
  const std::uint8_t stored = low_byte(quotient);
  const std::string outcome =
      "stored " + std::to_string(stored) + ", that is " + std::to_string(stored * 10);
  if (!number.plain) {
    problems.push_back({ProblemCode::kBadNumber,
                        value.name + " value " + quoted(value.text) + " is not a number: read as " +
                            std::to_string(number.value) + ", " + outcome});
  } else if (number.value % 10 != 0 || quotient < 0 || quotient > 255) {
    problems.push_back({ProblemCode::kNumberOutOfRange,
                        value.name + " value " + quoted(value.text) +
                            " is not a multiple of 10 from 0 to 2550: " + outcome});
  }
}

std::string describe(const Keyword&, const std::uint8_t* at) {
  return std::to_string(*at) + " (as " + std::to_string(*at * 10) + " would give)";
}

std::optional<std::string> rebuild(const Keyword&, const std::uint8_t* at, RebuildReasons&) {
  return std::to_string(*at * 10);
}

}  // namespace tenths

// Three bytes from three numbers split by the first two commas.
namespace triple {

using Numbers = std::array<std::string_view, 3>;

std::optional<Numbers> split(std::string_view value) {
  const std::optional<std::size_t> first = find_comma(value, 0);
  if (!first) return std::nullopt;
  const std::optional<std::size_t> second = find_comma(value, *first + 1);
  if (!second) return std::nullopt;
  return Numbers{value.substr(0, *first), value.substr(*first + 1, *second - *first - 1),
                 value.substr(*second + 1)};
}

bool take(ConfigValues& values, const Keyword& keyword, std::string_view value) {
  const std::optional<Numbers> numbers = split(value);
  if (!numbers) return false;
  std::uint8_t* at = values.field(keyword);
  for (std::size_t i = 0; i < numbers->size(); ++i) at[i] = low_byte(read_integer((*numbers)[i]));
  return true;
}

void check(const CheckedValue& value, std::vector<ValueProblem>& problems) {
  if (!value.accepted) {
    problems.push_back({ProblemCode::kBadTriple,
                        value.name + " value " + quoted(value.text) +
                            " has fewer than two commas among its first " +
                            std::to_string(kCommaSearchLength) + " characters: ignored, it stays " +
                            triple_text(value.before.bytes().data() + value.keyword.offset)});
    return;
  }
  const Numbers numbers = *split(value.text);
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    check_integer(value.name + " number " + std::to_string(i + 1), numbers[i], 1, problems);
  }
}

std::string describe(const Keyword&, const std::uint8_t* at) {
  return triple_text(at);
}

std::optional<std::string> rebuild(const Keyword&, const std::uint8_t* at, RebuildReasons&) {
  return triple_text(at);
}

}  // namespace triple

// A sign fills the next free slot of the sign table: two texts, the second
// empty for SIGNTEXT1.
namespace sign {

void check(std::string_view first, std::string_view second, std::size_t signs_before,
           std::vector<ValueProblem>& problems) {
  if (signs_before == field::kSignSlots) {
    problems.push_back({ProblemCode::kTooManySigns, "sign " + std::to_string(signs_before + 1) +
                                                        " does not fit: a level holds " +
                                                        std::to_string(field::kSignSlots) +
                                                        " signs, the rest are skipped"});
    return;
  }
  for (const std::string_view half : {first, second}) {
    if (half.size() >= field::kSignHalfSize) {
      problems.push_back(
          {ProblemCode::kTextCut, "sign text " + quoted(half) + " is cut to its first " +
                                      std::to_string(field::kSignHalfSize - 1) + " characters " +
                                      quoted(half.substr(0, field::kSignHalfSize - 1))});
    }
    check_zero_byte("sign text " + quoted(half), half, field::kSignHalfSize, problems);
  }
}

}  // namespace sign

namespace sign_text {

bool take(ConfigValues& values, const Keyword&, std::string_view value) {
  return values.add_sign(value, {});
}

void check(const CheckedValue& value, std::vector<ValueProblem>& problems) {
  sign::check(value.text, {}, value.before.sign_count(), problems);
}

}  // namespace sign_text

// The first comma splits the two texts.
namespace sign_pair {

bool take(ConfigValues& values, const Keyword&, std::string_view value) {
  const std::optional<std::size_t> comma = find_comma(value, 0);
  if (!comma) return false;
  return values.add_sign(value.substr(0, *comma), value.substr(*comma + 1));
}

void check(const CheckedValue& value, std::vector<ValueProblem>& problems) {
  if (!value.accepted) {
    problems.push_back({ProblemCode::kBadSignPair, value.name + " value " + quoted(value.text) +
                                                       " has no comma among its first " +
                                                       std::to_string(kCommaSearchLength) +
                                                       " characters: no sign is made of it"});
    return;
  }
  const std::size_t comma = *find_comma(value.text, 0);
  sign::check(value.text.substr(0, comma), value.text.substr(comma + 1), value.before.sign_count(),
              problems);
}

}  // namespace sign_pair

constexpr std::array<ValueKindRules, 7> kValueKinds = {{
    {ValueKind::Text, text::take, text::check, text::describe, text::rebuild},
    {ValueKind::YesNo, yes_no::take, yes_no::check, yes_no::describe, yes_no::rebuild},
    {ValueKind::Integer, integer::take, integer::check, integer::describe, integer::rebuild},
    {ValueKind::IntegerTriple, triple::take, triple::check, triple::describe, triple::rebuild},
    {ValueKind::Tenths, tenths::take, tenths::check, tenths::describe, tenths::rebuild},
    {ValueKind::SignText, sign_text::take, sign_text::check, nullptr, nullptr},
    {ValueKind::SignPair, sign_pair::take, sign_pair::check, nullptr, nullptr},
}};

// The table is indexed by the enumeration's values.
static_assert(indexed_by(kValueKinds, &ValueKindRules::kind));

}  // namespace

const ValueKindRules& value_kind(ValueKind kind) {
  return kValueKinds[static_cast<std::size_t>(kind)];
}

// The reader copies a value line whole, zero bytes too, so the text may hold
// them; it is cut where a value line cannot go on.
std::string rebuilt_text(const std::uint8_t* at, std::size_t offset, std::size_t size,
                         std::size_t shortest, RebuildReasons& reasons) {
  const std::uint8_t* left = defaults().bytes().data() + offset;
  const std::size_t last = size - 1;  // where the longest text's zero goes
  if (at[last] != 0) {
    reasons[offset] = "the text has no terminating zero; the rebuilt text keeps its first " +
                      std::to_string(last) + " characters";
  }
  std::size_t length = shortest;
  while (length < last &&
         (at[length] != 0 || !std::equal(at + length + 1, at + last, left + length + 1))) {
    ++length;
  }
  const std::uint8_t* feed = std::find(at, at + length, '\n');
  if (feed != at + length) {
    reasons[offset] =
        "the text holds a line feed, which ends a value line; the rebuilt text "
        "stops before it";
  }
  return std::string(at, feed);
}

}  // namespace zur
