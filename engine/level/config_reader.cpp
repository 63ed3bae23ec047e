// SPDX-License-Identifier: MIT
#include "engine/level/config_reader.h"

#include <algorithm>
#include <string_view>

#include "engine/level/config_grammar.h"
#include "engine/level/value_kinds.h"

namespace zur {
namespace {

using namespace config_grammar;

class ConfigReader {
 public:
  ConfigReader(LevelSettings& settings, FoundFlags& found, WarningList& warnings)
      : values_(settings, warnings), found_(found) {}

  ConfigOutcome read(LineReader& lines) {
    LineClassifier classifier(lines);
    std::size_t counted = 0;
    for (;;) {
      const ClassifiedLine line = classifier.next();
      if (line.role == LineRole::kUnknownKeyword) values_.warn_unknown_keyword();
      if (line.role == LineRole::kValue) {
        if (values_.take(line.keyword, line.line.text)) found_[line.keyword] = true;
        if (line.keyword < kCountedKeywords) ++counted;
      }
      if (line.last) break;
    }
    return counted == kCountedKeywords ? ConfigOutcome::kComplete : ConfigOutcome::kIncomplete;
  }

 private:
  ConfigValues values_;
  FoundFlags& found_;
};

// The sign keywords may be left out, so they never count as missing.
void reset_found_flags(FoundFlags& found) {
  std::fill(found.begin(), found.end(), false);
  std::fill(found.begin() + kCountedKeywords, found.end(), true);
}

}  // namespace

bool ConfigValues::take(std::size_t index, std::string_view value) {
  const Keyword& keyword = kKeywords[index];
  return value_kind(keyword.kind).take(*this, keyword, value);
}

bool ConfigValues::add_sign(std::string_view first, std::string_view second) {
  const std::size_t slot = settings_.sign_count();
  if (slot == field::kSignSlots) {
    warn_once(signs_warned_, warning::kTooManySigns);
    return true;
  }
  std::uint8_t* at = settings_.at(field::kSignTable + slot * field::kSignSlotSize);
  put_text(at, field::kSignHalfSize, first);
  put_text(at + field::kSignHalfSize, field::kSignHalfSize, second);
  settings_.set_sign_count(slot + 1);
  return true;
}

void ConfigValues::put_text(std::uint8_t* at, std::size_t field_size, std::string_view text) {
  if (text.size() >= field_size) {
    warn_once(cut_warned_, warning::kTooLongText);
    text = text.substr(0, field_size - 1);
  }
  // Not memcpy: an empty text may come without storage, as a null pointer.
  std::copy(text.begin(), text.end(), at);
  at[text.size()] = 0;
}

void ConfigValues::warn_once(bool& warned, std::string_view text) {
  if (warned) return;
  warnings_.append(text);
  warned = true;
}

ConfigOutcome parse_level_config(std::string_view text, LevelSettings& settings, FoundFlags& found,
                                 WarningList& warnings) {
  reset_found_flags(found);
  LineReader lines(text);
  return ConfigReader(settings, found, warnings).read(lines);
}

ConfigOutcome read_level_config(const std::string& path, LevelSettings& settings, FoundFlags& found,
                                WarningList& warnings, platform::System& system) {
  reset_found_flags(found);
  ConfigFileLines file(system);
  if (!file.open(path).ok()) return ConfigOutcome::kMissing;
  const ConfigOutcome outcome = ConfigReader(settings, found, warnings).read(file.lines());
  return file.failed() ? ConfigOutcome::kMissing : outcome;
}

}  // namespace zur
