// SPDX-License-Identifier: MIT
#include "frontend/prompt_box.h"

#include <gtest/gtest.h>

#include <random>

namespace zur::dialog {
namespace {

// Every character, one to four bytes, is 10 units wide.
int TenPerCharacter(std::string_view text) {
  int characters = 0;
  for (const char byte : text) characters += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
  return 10 * characters;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines(1);
  for (const char c : text) {
    if (c == '\n') {
      lines.emplace_back();
    } else {
      lines.back().push_back(c);
    }
  }
  return lines;
}

TEST(QuestionKeys, TakesNoKeyInTheFirst300MsAfterTheBoxAppears) {
  const struct {
    std::uint32_t shown, pressed;
    bool taken;
  } cases[] = {
      {1000, 1000, false}, {1000, 1080, false},       {1000, 1299, false},      {1000, 1300, true},
      {1000, 9000, true},  {0xFFFFFF00, 0x2B, false}, {0xFFFFFF00, 0x2C, true},
  };
  for (const auto& c : cases) {
    std::uint32_t now = c.shown;
    QuestionKeys keys([&] { return now; });
    keys.box_shown();
    now = c.pressed;
    EXPECT_EQ(keys.takes_key(), c.taken) << c.shown << " to " << c.pressed;
  }
}

TEST(PromptBox, MessagesHaveOkAndQuestionsYesAndNoWithTheIconAsked) {
  for (const Icon icon : {Icon::None, Icon::Error, Icon::Information}) {
    EXPECT_EQ(message_box_kind(icon).buttons, BoxButtons::Ok);
    EXPECT_EQ(message_box_kind(icon).icon, icon);
    EXPECT_EQ(question_box_kind(icon).buttons, BoxButtons::YesNo);
    EXPECT_EQ(question_box_kind(icon).icon, icon);
  }
}

TEST(WrapText, BreaksAtBlanksOrInsideAWordTooLongForALine) {
  const struct {
    const char* text;
    int width;
    const char* wrapped;
  } cases[] = {
      {"short", 100, "short"},
      {"", 100, ""},
      {"aaaa bbbb cccc", 90, "aaaa bbbb\ncccc"},
      {"aaaa bbbb cccc", 89, "aaaa\nbbbb\ncccc"},
      {"aaaa bbbbbbbbbbbbbbbbbbbbbbb", 100, "aaaa\nbbbbbbbbbb\nbbbbbbbbbb\nbbb"},
      {"/very/long/path/without/any/blank", 100, "/very/long\n/path/with\nout/any/bl\nank"},
      {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 20,
       "\xC3\xA9\xC3\xA9\n\xC3\xA9\xC3\xA9\n\xC3\xA9"},
      {"abc def\nghi", 30, "abc\ndef\nghi"},
      {"Conversion failed.\n\nFile missing:", 300, "Conversion failed.\n\nFile missing:"},
      {"abc", 5, "a\nb\nc"},
      {" abcdef", 30, " ab\ncde\nf"},
      {"ab cd", 20, "ab\ncd"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(wrap_text(c.text, c.width, TenPerCharacter), c.wrapped)
        << "\"" << c.text << "\" in " << c.width;
  }
}

// Over generated texts: every line fits (or is one character), and the
// text is the same but for line feeds put in for blanks or between
// characters.
TEST(WrapText, EveryLineFitsAndNothingButBlanksIsLost) {
  std::mt19937 random(19);
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const int words = std::uniform_int_distribution(1, 40)(random);
    for (int w = 0; w < words; ++w) {
      if (w > 0) text += std::uniform_int_distribution(0, 9)(random) == 0 ? '\n' : ' ';
      const int length = std::uniform_int_distribution(1, 30)(random);
      for (int i = 0; i < length; ++i) text += i % 3 == 0 ? "\xE2\x82\xAC" : "x";
    }
    const int width = std::uniform_int_distribution(5, 300)(random);
    const std::string wrapped = wrap_text(text, width, TenPerCharacter);
    for (const std::string& line : lines_of(wrapped)) {
      EXPECT_TRUE(TenPerCharacter(line) <= width || TenPerCharacter(line) == 10)
          << "\"" << line << "\" in " << width;
    }
    std::string kept, original;
    for (const char c : wrapped)
      if (c != ' ' && c != '\n') kept += c;
    for (const char c : text)
      if (c != ' ' && c != '\n') original += c;
    EXPECT_EQ(kept, original) << text;
  }
}

// A path of 10,000 characters wraps with its texts measured about as often
// and as long as its lines.
TEST(WrapText, ALongUnbrokenTextIsMeasuredInLittleMoreThanItsLength) {
  const std::string path(10'000, 'a');
  std::size_t measured = 0;
  const std::string wrapped = wrap_text(path, 700, [&](std::string_view text) {
    measured += text.size();
    return TenPerCharacter(text);
  });
  EXPECT_EQ(lines_of(wrapped).size(), 143u);
  EXPECT_LT(measured, 20 * path.size());
}

TEST(PromptBox, WrapsAt70CharactersOrHalfTheScreen) {
  EXPECT_EQ(wrap_width(7, 1920), 490);
  EXPECT_EQ(wrap_width(7, 800), 400);
}

TEST(PromptBox, IsAsWideAsItsContentsOrCaptionButNotTheScreen) {
  const struct {
    int contents, caption, screen, width;
  } cases[] = {
      {300, 200, 1024, 300},
      {100, 250, 1024, 250},
      {1500, 250, 1024, 1024},
      {100, 1500, 1024, 1024},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(box_width(c.contents, c.caption, c.screen), c.width)
        << c.contents << ", " << c.caption << ", " << c.screen;
  }
}

}  // namespace
}  // namespace zur::dialog
