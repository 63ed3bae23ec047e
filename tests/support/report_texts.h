// SPDX-License-Identifier: MIT
// Texts of the conversion's report that the report's tests and zurconv's
// both expect, written once: a unity build may compile them together.
#pragma once

#include <string>

namespace zur::test {

inline const std::string kRule = "-------------------------------------------------------------";
inline const std::string kAirHint =
    "Only less than one percent of your level is air!\nI hope you know what you're\ndoing..";

}  // namespace zur::test
