// SPDX-License-Identifier: MIT
#include "engine/level/shared/result.h"

#include <array>

namespace zur {
namespace {

using enum ConversionResult;

struct MessageTemplate {
  ConversionResult result;
  const char* head;    // text before the prefix, or the whole text
  const char* suffix;  // file suffix after the prefix; null when no prefix is shown
  Icon icon;
  bool names_level_file = false;  // the text ends in the level file's path
};

constexpr std::array<MessageTemplate, kResultCodes> kMessages = {{
    {kFileNotFound, "Conversion failed.\nPossible reason: File not found.", nullptr, Icon::Error},
    {kSuccess, "", nullptr, Icon::None},
    {kNoEmptySpace, "Conversion failed.\nNot enough empty space in level.", nullptr, Icon::Error},
    {kIllegalColours,
     "Conversion failed.\nIllegal colors used in attribute map!\nYou should only use specific\n"
     "colors defined in makelev.txt.\nPlease read makelev.txt",
     nullptr, Icon::Error},
    {kIllegalBitDepth,
     "Conversion failed.\nIllegal bit-depth used in attribute map!\nAttribute map bit-depth "
     "should be 24-bit!\nPlease read makelev.txt",
     nullptr, Icon::Error},
    {kNoAccessToOutput, "Conversion failed.\nNo access to output file.", nullptr, Icon::Error},
    {kLevelNotCreated, "Conversion failed.\nLevel not created.", nullptr, Icon::Information},
    {kNotEnoughMemory, "Conversion failed.\nNot enough memory.", nullptr, Icon::Error},
    {kWrongTgaFormat,
     "Conversion failed.\nWrong TGA (attribute map) format.\nIt must be 24-bit, not compressed "
     "TGA file.",
     nullptr, Icon::Error},
    {kLevelJpegMissing, "Conversion failed.\nLevel JPEG file not found.\n\nFile missing:\n", ".jpg",
     Icon::Error},
    {kParallaxJpegMissing, "Conversion failed.\nParallax JPEG file not found.\n\nFile missing:\n",
     "p.jpg", Icon::Error},
    {kAttributeMapMissing,
     "Conversion failed.\nAttribute map TGA file not found.\n\nFile missing:\n", ".tga",
     Icon::Error},
    {kParserError,
     "Conversion failed.\nParser error.\nPlease check that you have written your config\nfile "
     "(txt) correctly.",
     nullptr, Icon::Error},
    {kConfigFileMissing, "Conversion failed.\nLevel config file not found.\n\nFile missing:\n",
     ".txt", Icon::Error},
    {kCannotAccessOutput, "Conversion failed.\n\nCould not access \n", nullptr, Icon::Error, true},
    {kNoFilename, "Conversion failed.\n\nGive a filename.", nullptr, Icon::Error},
}};

// The table is indexed by code: an entry missing or out of place stops the build.
static_assert([] {
  for (std::size_t i = 0; i < kMessages.size(); ++i) {
    if (code_of(kMessages[i].result) != static_cast<std::int32_t>(i)) return false;
  }
  return true;
}());

}  // namespace

ResultMessage result_message(ConversionResult result, std::string_view prefix,
                             std::string_view level_file) {
  const std::int32_t code = code_of(result);
  if (code < 0 || code >= kResultCodes) return {"Conversion failed.\nUnknown error!", Icon::Error};
  const MessageTemplate& m = kMessages[static_cast<std::size_t>(code)];
  std::string text = m.head;
  if (m.suffix != nullptr) text.append(prefix).append(m.suffix);
  if (m.names_level_file) text.append(level_file);
  return {std::move(text), m.icon};
}

}  // namespace zur
