// SPDX-License-Identifier: MIT
// Conversion results: the code every stage of a conversion returns, and the
// message the user is shown for it. kSuccess is the only success; the first
// failing stage's code ends the conversion. The numbers are the ones users
// and the game's tools know, so they never change.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "zur/prompts.h"

namespace zur {

enum class ConversionResult : std::int32_t {
  kFileNotFound = 0,  // no path returns this; kept with its message
  kSuccess = 1,
  kNoEmptySpace = 2,  // no path returns this; kept with its message
  kIllegalColours = 3,
  kIllegalBitDepth = 4,
  kNoAccessToOutput = 5,
  kLevelNotCreated = 6,  // no path returns this; kept with its message
  kNotEnoughMemory = 7,
  kWrongTgaFormat = 8,
  kLevelJpegMissing = 9,
  kParallaxJpegMissing = 10,
  kAttributeMapMissing = 11,
  kParserError = 12,  // no path returns this; kept with its message
  kConfigFileMissing = 13,
  kCannotAccessOutput = 14,
  kNoFilename = 15,
};

inline constexpr std::int32_t kResultCodes = 16;

constexpr std::int32_t code_of(ConversionResult result) {
  return static_cast<std::int32_t>(result);
}

struct ResultMessage {
  std::string text;  // empty for success: nothing is shown
  Icon icon;
};

// The message for `result`, with `prefix` put in where the text names a
// source and `level_file` where it names the level file. A value outside the
// codes above gets the unknown-error message.
ResultMessage result_message(ConversionResult result, std::string_view prefix,
                             std::string_view level_file);

}  // namespace zur
