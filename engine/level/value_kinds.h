// SPDX-License-Identifier: MIT
// The kinds of config values, each described once: how a value line of the
// kind goes into the settings record, what the check says of one, and how a
// field of the kind is named and written back as a value line. The config
// reader, the check and the rebuilt config file all go through these rules,
// so a new kind is written here alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/conversion/settings.h"
#include "engine/level/problem.h"

namespace zur {

class ConfigValues;  // config_reader.h

// A value line as the check sees it, once the conversion has taken it in or
// refused it.
struct CheckedValue {
  const Keyword& keyword;
  const std::string& name;  // as the messages name the keyword, e.g. "/PARA"
  std::string_view text;
  bool accepted;
  const LevelSettings& before;  // the record before the value; a refused value leaves it so
};

struct ValueProblem {
  ProblemCode code;
  std::string message;
};

// Why a part of a rebuilt record will differ, by the part's offset in the record.
using RebuildReasons = std::map<std::size_t, std::string>;

struct ValueKindRules {
  ValueKind kind;
  // Takes a value line into the record; false when the conversion refuses
  // it, which leaves the record as it was.
  bool (*take)(ConfigValues& values, const Keyword& keyword, std::string_view value);
  // Appends what the check says of a value line.
  void (*check)(const CheckedValue& value, std::vector<ValueProblem>& problems);
  // The field at `at` as a message names it, e.g. "80,90,170". None for the
  // sign keywords, which are never missing.
  std::string (*describe)(const Keyword& keyword, const std::uint8_t* at);
  // The value line that gives the field at `at` back; nullopt where the
  // keyword is left out of the file. None for the sign keywords: the signs
  // are rebuilt slot by slot.
  std::optional<std::string> (*rebuild)(const Keyword& keyword, const std::uint8_t* at,
                                        RebuildReasons& reasons);
};

const ValueKindRules& value_kind(ValueKind kind);

// The shortest text of at least `shortest` bytes that gives the text field
// of `size` bytes at `at` back when the config reader copies it, with its
// terminating zero, over the field as the defaults leave it. `offset` is
// the field's place in the record.
std::string rebuilt_text(const std::uint8_t* at, std::size_t offset, std::size_t size,
                         std::size_t shortest, RebuildReasons& reasons);

}  // namespace zur
