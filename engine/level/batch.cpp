// SPDX-License-Identifier: MIT
#include "engine/level/batch.h"

#include "engine/level/level_writer.h"
#include "engine/level/shared/level_format.h"

namespace zur {
namespace {

constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

std::string_view trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

}  // namespace

std::vector<std::string> split_batch(std::string_view text) {
  std::vector<std::string> items;
  for (;;) {
    const std::size_t bar = text.find('|');
    items.emplace_back(trim(text.substr(0, bar)));
    if (bar == std::string_view::npos) return items;
    text.remove_prefix(bar + 1);
  }
}

Converter::Converter(UserPrompts& prompts, MillisecondClock clock)
    : conversion_(prompts, std::move(clock)) {}

std::vector<ConversionResult> Converter::run_batch(std::string_view text) {
  std::vector<ConversionResult> results;
  for (const std::string& prefix : split_batch(text)) results.push_back(run_job(prefix));
  return results;
}

ConversionResult Converter::run_job(std::string_view prefix) {
  return run_job(prefix, std::string(prefix) + std::string(suffix::kLevelFile));
}

ConversionResult Converter::run_job(std::string_view prefix, std::string level_file) {
  conversion_.job_start_ms = conversion_.clock();
  conversion_.prefix = prefix;
  conversion_.level_file = std::move(level_file);
  if (prefix.empty()) {
    const ResultMessage message = result_message(ConversionResult::kNoFilename, prefix, {});
    conversion_.prompts.show_message(message.text, message.icon);
    return ConversionResult::kNoFilename;
  }
  const ConversionResult result = write_level_file(conversion_);
  const ResultMessage message = result_message(result, conversion_.prefix, conversion_.level_file);
  if (!message.text.empty()) conversion_.prompts.show_message(message.text, message.icon);
  conversion_.prompts.set_progress(0);
  return result;
}

}  // namespace zur
