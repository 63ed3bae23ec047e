// SPDX-License-Identifier: MIT
#include "engine/level/batch.h"

#include "engine/base/output_file.h"
#include "engine/level/depfile.h"
#include "engine/level/level_writer.h"
#include "engine/level/source_files.h"
#include "zur/convert.h"

namespace zur {
namespace {

constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

std::string_view trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

// "N of M levels failed: A, B"
std::string failure_summary(const std::vector<std::string>& failed, std::size_t count) {
  std::string text =
      std::to_string(failed.size()) + " of " + std::to_string(count) + " levels failed: ";
  for (std::size_t i = 0; i < failed.size(); ++i) {
    text.append(i == 0 ? "" : ", ").append(shown_level(failed[i]));
  }
  return text;
}

// Opens the depfile of the one level, before its conversion, so that a
// depfile path the output policy refuses stops the batch before anything
// is written.
bool open_depfile(const NamedLevel& level, const BatchOptions& options, OutputFile& depfile,
                  BatchPrompts& prompts) {
  std::vector<std::string> others = source_paths(find_sources(level, *options.system));
  others.insert(others.begin(),
                options.level_file.value_or(level.prefix + std::string(suffix::kLevelFile)));
  const Status opened = depfile.open(*options.depfile, others);
  if (!opened.ok()) prompts.show_batch_failure(opened.text());
  return opened.ok();
}

// Writes the rule of the level just converted into the open depfile and
// puts it in place.
bool write_depfile(OutputFile& depfile, const Conversion& conversion, BatchPrompts& prompts) {
  const std::optional<std::string> rule =
      depfile_rule(conversion.level_file, conversion.sources_read);
  if (!rule) {
    prompts.show_batch_failure(
        Error{"cannot write", depfile.path(), "a file name holds a line break", {}, {}}.text());
    return false;
  }
  depfile.write_at(0, rule->data(), rule->size());
  const Status committed = depfile.commit();
  if (!committed.ok()) prompts.show_batch_failure(committed.text());
  return committed.ok();
}

}  // namespace

std::string shown_level(std::string_view level) {
  return level.empty() ? "\"\"" : std::string(level);
}

std::vector<std::string> split_batch(std::string_view text) {
  std::vector<std::string> items;
  for (;;) {
    const std::size_t bar = text.find('|');
    items.emplace_back(trim(text.substr(0, bar)));
    if (bar == std::string_view::npos) return items;
    text.remove_prefix(bar + 1);
  }
}

BatchResult convert_levels(std::span<const std::string> levels, BatchPrompts& prompts,
                           const BatchOptions& options) {
  OutputFile depfile(*options.system);
  if (options.depfile && !open_depfile(level_from_argument(levels.front(), options.picked_configs),
                                       options, depfile, prompts)) {
    return {{levels.begin(), levels.end()}};
  }
  Converter converter(prompts, *options.system);
  BatchResult result;
  for (std::size_t i = 0; i < levels.size(); ++i) {
    const std::string& level = levels[i];
    prompts.start_level(level, i + 1, levels.size());
    const NamedLevel named = level_from_argument(level, options.picked_configs);
    const ConversionResult converted = converter.run_job(
        named, options.level_file.value_or(named.prefix + std::string(suffix::kLevelFile)));
    if (converted != ConversionResult::kSuccess ||
        (options.depfile && !write_depfile(depfile, converter.last(), prompts))) {
      result.failed.push_back(level);
    }
  }
  if (levels.size() > 1 && !result.failed.empty()) {
    prompts.show_batch_failure(failure_summary(result.failed, levels.size()));
  }
  return result;
}

Converter::Converter(UserPrompts& prompts, platform::System& system, MillisecondClock clock)
    : conversion_(prompts, system, std::move(clock)) {}

ConversionResult Converter::run_job(std::string_view prefix) {
  return run_job(NamedLevel(std::string(prefix)),
                 std::string(prefix) + std::string(suffix::kLevelFile));
}

ConversionResult Converter::run_job(const NamedLevel& level, std::string level_file) {
  const std::string& prefix = level.prefix;
  conversion_.job_start_ms = conversion_.clock();
  conversion_.prefix = prefix;
  conversion_.config_suffix = level.config_suffix;
  conversion_.level_file = std::move(level_file);
  conversion_.reasons.clear();
  if (prefix.empty()) {
    const ResultMessage message = result_message(ConversionResult::kNoFilename, prefix, {});
    conversion_.prompts.show_message(message.text, message.icon);
    return ConversionResult::kNoFilename;
  }
  const ConversionResult result = write_level_file(conversion_);
  const ResultMessage message = result_message(result, conversion_.prefix, conversion_.level_file);
  if (!conversion_.reasons.empty()) {
    conversion_.prompts.show_failure(message.text, message.icon, conversion_.reasons);
  } else if (!message.text.empty()) {
    conversion_.prompts.show_message(message.text, message.icon);
  }
  conversion_.prompts.set_progress(0);
  return result;
}

}  // namespace zur
