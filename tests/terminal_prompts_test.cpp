// SPDX-License-Identifier: MIT
#include "cli/terminal_prompts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace zur::cli {
namespace {

using File = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

std::string written(std::FILE* file) {
  std::string text;
  std::rewind(file);
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

// The bar on a terminal moves through the pass, drawn again only when its
// position changes; with -q it is never drawn.
TEST(TerminalPrompts, BarMovesWithTheKeepAliveDuringThePass) {
  for (const bool quiet : {false, true}) {
    File out(std::tmpfile(), &std::fclose), err(std::tmpfile(), &std::fclose);
    Options options;
    options.quiet = quiet;
    TerminalPrompts prompts(options, {out.get(), err.get(), nullptr, false, true});
    prompts.set_progress(40);
    for (const double rows_done : {0.2, 0.21, 0.5, 0.99}) prompts.keep_alive(rows_done);
    prompts.set_progress(70);
    const std::string bars = written(err.get());
    if (quiet) {
      EXPECT_EQ(bars, "");
      continue;
    }
    std::vector<std::string> percents;
    for (std::size_t at = bars.find('%'); at != std::string::npos; at = bars.find('%', at + 1)) {
      percents.push_back(bars.substr(at - 3, 3));
    }
    EXPECT_EQ(percents, (std::vector<std::string>{" 40", " 46", " 55", " 69", " 70"})) << bars;
    EXPECT_EQ(written(out.get()), "");
  }
}

}  // namespace
}  // namespace zur::cli
