// Conversion results: the code every stage of a conversion returns, and the
// message the user is shown for it. 1 is success; the first failing stage's
// code ends the conversion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/level/prompts.h"

namespace zur {

using ConversionResult = std::int32_t;

namespace result {
inline constexpr ConversionResult kFileNotFound = 0;
inline constexpr ConversionResult kSuccess = 1;
inline constexpr ConversionResult kNoEmptySpace = 2;
inline constexpr ConversionResult kIllegalColours = 3;
inline constexpr ConversionResult kIllegalBitDepth = 4;
inline constexpr ConversionResult kNoAccessToOutput = 5;
inline constexpr ConversionResult kLevelNotCreated = 6;
inline constexpr ConversionResult kNotEnoughMemory = 7;
inline constexpr ConversionResult kWrongTgaFormat = 8;
inline constexpr ConversionResult kLevelJpegMissing = 9;
inline constexpr ConversionResult kParallaxJpegMissing = 10;
inline constexpr ConversionResult kAttributeMapMissing = 11;
inline constexpr ConversionResult kParserError = 12;
inline constexpr ConversionResult kConfigFileMissing = 13;
inline constexpr ConversionResult kCannotAccessOutput = 14;
inline constexpr ConversionResult kNoFilename = 15;
}  // namespace result

struct ResultMessage {
  std::string text;  // empty for success: nothing is shown
  Icon icon;
};

// The message for `code`, with `prefix` put in where the text names a file.
ResultMessage result_message(ConversionResult code, std::string_view prefix);

}  // namespace zur
