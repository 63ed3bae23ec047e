// SPDX-License-Identifier: MIT
#include "engine/conversion/result.h"

#include <gtest/gtest.h>

#include <string>

namespace zur {
namespace {

TEST(ResultMessage, EveryCodeHasItsTextAndIcon) {
  const std::string prefix = "levels/Jungle 2";
  const struct {
    std::int32_t code;
    std::string text;
    Icon icon;
  } cases[] = {
      {0, "Conversion failed.\nPossible reason: File not found.", Icon::Error},
      {1, "", Icon::None},
      {2, "Conversion failed.\nNot enough empty space in level.", Icon::Error},
      {3,
       "Conversion failed.\nIllegal colors used in attribute map!\nYou should only use specific\n"
       "colors defined in makelev.txt.\nPlease read makelev.txt",
       Icon::Error},
      {4,
       "Conversion failed.\nIllegal bit-depth used in attribute map!\nAttribute map bit-depth "
       "should be 24-bit!\nPlease read makelev.txt",
       Icon::Error},
      {5, "Conversion failed.\nNo access to output file.", Icon::Error},
      {6, "Conversion failed.\nLevel not created.", Icon::Information},
      {7, "Conversion failed.\nNot enough memory.", Icon::Error},
      {8,
       "Conversion failed.\nWrong TGA (attribute map) format.\nIt must be 24-bit, not compressed "
       "TGA file.",
       Icon::Error},
      {9, "Conversion failed.\nLevel JPEG file not found.\n\nFile missing:\nlevels/Jungle 2.jpg",
       Icon::Error},
      {10,
       "Conversion failed.\nParallax JPEG file not found.\n\nFile missing:\nlevels/Jungle 2p.jpg",
       Icon::Error},
      {11,
       "Conversion failed.\nAttribute map TGA file not found.\n\nFile missing:\nlevels/Jungle "
       "2.tga",
       Icon::Error},
      {12,
       "Conversion failed.\nParser error.\nPlease check that you have written your config\nfile "
       "(txt) correctly.",
       Icon::Error},
      {13, "Conversion failed.\nLevel config file not found.\n\nFile missing:\nlevels/Jungle 2.txt",
       Icon::Error},
      {14, "Conversion failed.\n\nCould not access \nlevels/Jungle 2.lev", Icon::Error},
      {15, "Conversion failed.\n\nGive a filename.", Icon::Error},
  };
  for (const auto& c : cases) {
    const ResultMessage message =
        result_message(static_cast<ConversionResult>(c.code), prefix, prefix + ".lev");
    EXPECT_EQ(message.text, c.text) << "code " << c.code;
    EXPECT_EQ(message.icon, c.icon) << "code " << c.code;
  }
}

TEST(ResultMessage, CodesWithoutAMessageAreUnknownErrors) {
  for (std::int32_t code : {-1, 16, 100, -2147483647 - 1, 2147483647}) {
    const ResultMessage message = result_message(static_cast<ConversionResult>(code), "x", "x.lev");
    EXPECT_EQ(message.text, "Conversion failed.\nUnknown error!") << "code " << code;
    EXPECT_EQ(message.icon, Icon::Error) << "code " << code;
  }
}

TEST(ResultMessage, PrefixIsInsertedAsItStands) {
  // No printf formatting of the prefix: a "%" in a path is just a character.
  const std::string prefix = "C:\\levels\\100%s%d" + std::string(600, 'x');
  EXPECT_EQ(
      result_message(ConversionResult::kAttributeMapMissing, prefix, prefix + ".lev").text,
      "Conversion failed.\nAttribute map TGA file not found.\n\nFile missing:\n" + prefix + ".tga");
  EXPECT_EQ(result_message(ConversionResult::kNoFilename, prefix, prefix + ".lev").text,
            "Conversion failed.\n\nGive a filename.");
}

TEST(ResultMessage, SourcesAreNamedByThePrefixAndTheLevelFileByItsPath) {
  EXPECT_EQ(result_message(ConversionResult::kCannotAccessOutput, "src/jungle", "out/j1.lev").text,
            "Conversion failed.\n\nCould not access \nout/j1.lev");
  EXPECT_EQ(result_message(ConversionResult::kLevelJpegMissing, "src/jungle", "out/j1.lev").text,
            "Conversion failed.\nLevel JPEG file not found.\n\nFile missing:\nsrc/jungle.jpg");
}

}  // namespace
}  // namespace zur
