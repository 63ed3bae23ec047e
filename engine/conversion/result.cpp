// SPDX-License-Identifier: MIT
#include "engine/conversion/result.h"

#include <algorithm>
#include <array>

#include "engine/conversion/source_table.h"

namespace zur {
namespace {

using enum ConversionResult;

struct MessageTemplate {
  ConversionResult result;
  const char* head;  // the whole text, or what comes before the file it names
  Icon icon;
  enum Names { kNoFile, kSource, kLevelFile } names = kNoFile;
};

constexpr std::array<MessageTemplate, kResultCodes> kMessages = {{
    {kFileNotFound, "Conversion failed.\nPossible reason: File not found.", Icon::Error},
    {kSuccess, "", Icon::None},
    {kNoEmptySpace, "Conversion failed.\nNot enough empty space in level.", Icon::Error},
    {kIllegalColours,
     "Conversion failed.\nIllegal colors used in attribute map!\nYou should only use specific\n"
     "colors defined in makelev.txt.\nPlease read makelev.txt",
     Icon::Error},
    {kIllegalBitDepth,
     "Conversion failed.\nIllegal bit-depth used in attribute map!\nAttribute map bit-depth "
     "should be 24-bit!\nPlease read makelev.txt",
     Icon::Error},
    {kNoAccessToOutput, "Conversion failed.\nNo access to output file.", Icon::Error},
    {kLevelNotCreated, "Conversion failed.\nLevel not created.", Icon::Information},
    {kNotEnoughMemory, "Conversion failed.\nNot enough memory.", Icon::Error},
    {kWrongTgaFormat,
     "Conversion failed.\nWrong TGA (attribute map) format.\nIt must be 24-bit, not compressed "
     "TGA file.",
     Icon::Error},
    {kLevelJpegMissing, "Conversion failed.\nLevel JPEG file not found.\n\nFile missing:\n",
     Icon::Error, MessageTemplate::kSource},
    {kParallaxJpegMissing, "Conversion failed.\nParallax JPEG file not found.\n\nFile missing:\n",
     Icon::Error, MessageTemplate::kSource},
    {kAttributeMapMissing,
     "Conversion failed.\nAttribute map TGA file not found.\n\nFile missing:\n", Icon::Error,
     MessageTemplate::kSource},
    {kParserError,
     "Conversion failed.\nParser error.\nPlease check that you have written your config\nfile "
     "(txt) correctly.",
     Icon::Error},
    {kConfigFileMissing, "Conversion failed.\nLevel config file not found.\n\nFile missing:\n",
     Icon::Error, MessageTemplate::kSource},
    {kCannotAccessOutput, "Conversion failed.\n\nCould not access \n", Icon::Error,
     MessageTemplate::kLevelFile},
    {kNoFilename, "Conversion failed.\n\nGive a filename.", Icon::Error},
}};

// The table is indexed by code: an entry missing or out of place stops the build.
static_assert([] {
  for (std::size_t i = 0; i < kMessages.size(); ++i) {
    if (code_of(kMessages[i].result) != static_cast<std::int32_t>(i)) return false;
  }
  return true;
}());

// The source whose absence `result` reports.
const SourceFile& source_named(ConversionResult result) {
  return *std::find_if(kSourceFiles.begin(), kSourceFiles.end(),
                       [&](const SourceFile& file) { return file.missing == result; });
}

// Every message that names a source names one of the table.
static_assert([] {
  for (const MessageTemplate& m : kMessages) {
    const bool in_table =
        std::any_of(kSourceFiles.begin(), kSourceFiles.end(),
                    [&](const SourceFile& file) { return file.missing == m.result; });
    if ((m.names == MessageTemplate::kSource) != in_table) return false;
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
  if (m.names == MessageTemplate::kSource)
    text += missing_source_name(prefix, source_named(result));
  if (m.names == MessageTemplate::kLevelFile) text.append(level_file);
  return {std::move(text), m.icon};
}

}  // namespace zur
