#include "engine/level/result.h"

#include <array>

namespace zur {
namespace {

struct MessageTemplate {
  const char* head;    // text before the prefix, or the whole text
  const char* suffix;  // file suffix after the prefix; null when no prefix is shown
  Icon icon;
};

constexpr std::array<MessageTemplate, 16> kMessages = {{
    {"Conversion failed.\nPossible reason: File not found.", nullptr, Icon::Error},
    {"", nullptr, Icon::None},
    {"Conversion failed.\nNot enough empty space in level.", nullptr, Icon::Error},
    {"Conversion failed.\nIllegal colors used in attribute map!\nYou should only use specific\n"
     "colors defined in makelev.txt.\nPlease read makelev.txt",
     nullptr, Icon::Error},
    {"Conversion failed.\nIllegal bit-depth used in attribute map!\nAttribute map bit-depth "
     "should be 24-bit!\nPlease read makelev.txt",
     nullptr, Icon::Error},
    {"Conversion failed.\nNo access to output file.", nullptr, Icon::Error},
    {"Conversion failed.\nLevel not created.", nullptr, Icon::Information},
    {"Conversion failed.\nNot enough memory.", nullptr, Icon::Error},
    {"Conversion failed.\nWrong TGA (attribute map) format.\nIt must be 24-bit, not compressed "
     "TGA file.",
     nullptr, Icon::Error},
    {"Conversion failed.\nLevel JPEG file not found.\n\nFile missing:\n", ".jpg", Icon::Error},
    {"Conversion failed.\nParallax JPEG file not found.\n\nFile missing:\n", "p.jpg", Icon::Error},
    {"Conversion failed.\nAttribute map TGA file not found.\n\nFile missing:\n", ".tga",
     Icon::Error},
    {"Conversion failed.\nParser error.\nPlease check that you have written your config\nfile "
     "(txt) correctly.",
     nullptr, Icon::Error},
    {"Conversion failed.\nLevel config file not found.\n\nFile missing:\n", ".txt", Icon::Error},
    {"Conversion failed.\n\nCould not access \n", ".lev", Icon::Error},
    {"Conversion failed.\n\nGive a filename.", nullptr, Icon::Error},
}};

}  // namespace

ResultMessage result_message(ConversionResult code, std::string_view prefix) {
  if (code < 0 || code >= static_cast<ConversionResult>(kMessages.size())) {
    return {"Conversion failed.\nUnknown error!", Icon::Error};
  }
  const MessageTemplate& m = kMessages[static_cast<std::size_t>(code)];
  std::string text = m.head;
  if (m.suffix != nullptr) {
    text.append(prefix).append(m.suffix);
  }
  return {std::move(text), m.icon};
}

}  // namespace zur
