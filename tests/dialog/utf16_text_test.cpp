// SPDX-License-Identifier: MIT
#include "frontend/utf16_text.h"

#include <gtest/gtest.h>

namespace zur::dialog {
namespace {

TEST(Utf16Text, EngineTextsConvertBothWays) {
  const struct {
    const char* engine;
    std::u16string utf16;
  } cases[] = {
      {"", u""},
      {"levels/jungle", u"levels/jungle"},
      {"j\xC3\xA9", u"j\u00E9"},
      {"\xE2\x82\xAC \xE6\x97\xA5", u"\u20AC \u65E5"},
      {"\xF0\x9F\x8C\xB4", u"\U0001F334"},
      {"a\xEF\xBF\xBF", u"a\uFFFF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(utf16_from_engine(c.engine), c.utf16) << c.engine;
    EXPECT_EQ(engine_from_utf16(c.utf16), c.engine) << c.engine;
  }
}

// A text that is not UTF-8 is still shown, every byte as its Latin-1 letter.
TEST(Utf16Text, AnEngineTextThatIsNotUtf8ReadsAsLatin1) {
  const struct {
    const char* engine;
    std::u16string utf16;
  } cases[] = {
      {"j\xE9.txt", u"j\u00E9.txt"},
      {"\xC3\xA9\xFF", u"\u00C3\u00A9\u00FF"},            // one bad byte makes all Latin-1
      {"\xC0\xAF", u"\u00C0\u00AF"},                      // overlong
      {"\xED\xA0\x80", u"\u00ED\u00A0\u0080"},            // a surrogate
      {"\xF4\x90\x80\x80", u"\u00F4\u0090\u0080\u0080"},  // past U+10FFFF
      {"\xE2\x82", u"\u00E2\u0082"},                      // cut short
  };
  for (const auto& c : cases) EXPECT_EQ(utf16_from_engine(c.engine), c.utf16) << c.engine;
}

TEST(Utf16Text, ALoneSurrogateBecomesTheReplacementCharacter) {
  EXPECT_EQ(engine_from_utf16(std::u16string{u'a', char16_t{0xD800}, u'b'}),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(engine_from_utf16(std::u16string{char16_t{0xDC00}}), "\xEF\xBF\xBD");
  EXPECT_EQ(engine_from_utf16(std::u16string{char16_t{0xD83C}}), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace zur::dialog
