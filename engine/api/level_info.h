// SPDX-License-Identifier: MIT
// What a level file's info tells about it: one JSON document per level,
// and the same facts as text, the document's keys as headings. Texts from
// the file are shown as JSON strings, so no byte of it reaches a terminal
// unescaped; bytes that are not UTF-8 become U+FFFD.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "engine/level/level_reader.h"

namespace zur {

using Json = nlohmann::ordered_json;

// `objects`: list every object, not only the counts.
Json level_info(const std::string& name, const LevelContents& contents, bool objects);

// A level's document as indented text.
std::string info_text(const Json& info);

// The document as printed, non-UTF-8 bytes replaced.
std::string json_text(const Json& document);

}  // namespace zur
