#include "engine/level/batch.h"

#include <gtest/gtest.h>

#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"

namespace zur {
namespace {

using Items = std::vector<std::string>;

TEST(SplitBatch, SplitsAtBarsAndTrimsWhiteSpace) {
  const struct {
    const char* text;
    Items items;
  } cases[] = {
      {"", {""}},
      {"jungle", {"jungle"}},
      {"  jungle \t", {"jungle"}},
      {"jungle|", {"jungle", ""}},
      {"a||b", {"a", "", "b"}},
      {" a | b ", {"a", "b"}},
      {"a\t|\nb\r\n", {"a", "b"}},
      {"my level|x", {"my level", "x"}},
      {"|", {"", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(split_batch(c.text), c.items) << "text: \"" << c.text << "\"";
  }
}

TEST(ConversionJob, EmptyPrefixAsksForAFilenameAndLeavesProgressAlone) {
  test::ScriptedPrompts prompts;
  Converter converter(prompts);
  EXPECT_EQ(converter.run_batch(""), std::vector<ConversionResult>{result::kNoFilename});
  ASSERT_EQ(prompts.prompts.size(), 1u);
  EXPECT_EQ(prompts.prompts[0].text, "Conversion failed.\n\nGive a filename.");
  EXPECT_EQ(prompts.prompts[0].icon, Icon::Error);
  EXPECT_TRUE(prompts.progress.empty());
}

TEST(ConversionJob, FailedLevelDoesNotStopTheNextAndLeavesNoLevelFile) {
  test::TempDir dir;
  test::write_level(dir, "good", test::TgaBuilder(4, 4));
  test::ScriptedPrompts prompts;
  Converter converter(prompts);
  const auto results = converter.run_batch(dir.prefix("missing") + " | " + dir.prefix("good"));
  EXPECT_EQ(results, (std::vector<ConversionResult>{result::kConfigFileMissing, result::kSuccess}));
  EXPECT_FALSE(dir.exists("missing.lev"));
  EXPECT_TRUE(dir.exists("good.lev"));
  EXPECT_EQ(prompts.messages().front(),
            "Conversion failed.\nLevel config file not found.\n\nFile missing:\n" +
                dir.prefix("missing") + ".txt");
}

}  // namespace
}  // namespace zur
