// SPDX-License-Identifier: MIT
#include "engine/level/settings_sources.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "engine/base/byte_order.h"
#include "engine/base/platform.h"
#include "engine/conversion/warnings.h"
#include "engine/level/config_reader.h"
#include "engine/level/value_kinds.h"

namespace zur {
namespace {

constexpr std::size_t kSignText = 20, kSignPair = 21;
constexpr std::size_t kReservedAt = field::kSignD + 1;
constexpr std::size_t kSignCountSize = 4;

SettingLine keyword_line(SettingsRecord record, std::size_t index, RebuildReasons& reasons) {
  const Keyword& keyword = kKeywords[index];
  const std::optional<std::string> value =
      value_kind(keyword.kind).rebuild(keyword, record.data() + keyword.offset, reasons);
  if (!value) return {index, {}, false};
  return {index, *value};
}

// A sign as SIGNTEXT1 when it has no second text, else as SIGNTEXT2, whose
// first comma splits the two texts.
SettingLine sign_line(SettingsRecord record, std::size_t slot, RebuildReasons& reasons) {
  const std::size_t offset = field::kSignTable + slot * field::kSignSlotSize;
  const std::uint8_t* at = record.data() + offset;
  const std::string first = rebuilt_text(at, offset, field::kSignHalfSize, 0, reasons);
  const std::string second = rebuilt_text(at + field::kSignHalfSize, offset + field::kSignHalfSize,
                                          field::kSignHalfSize, 0, reasons);
  if (!first.empty() && second.empty()) return {kSignText, first};
  if (first.find(',') == std::string::npos) return {kSignPair, first + "," + second};
  reasons[offset] =
      "the first text holds a comma and a second text follows, which one sign "
      "line cannot give; the rebuilt sign has no second text";
  return {kSignText, first};
}

std::size_t sign_count(SettingsRecord record, RebuildReasons& reasons) {
  const std::uint32_t count = get_le32(record.data() + field::kSignCount);
  if (count > field::kSignSlots) {
    reasons[field::kSignCount] = "the sign count is " + std::to_string(count) +
                                 ", more than the 16 slots; the rebuilt count is 16 at most";
  }
  return std::min<std::size_t>(count, field::kSignSlots);
}

struct Region {
  std::size_t offset, size;
  std::string name;
};

// Every part of the record that a config file sets or leaves, by name.
std::vector<Region> record_regions() {
  std::vector<Region> regions;
  for (std::size_t i = 0; i < kCountedKeywords; ++i) {
    regions.push_back({kKeywords[i].offset, kKeywords[i].size, std::string(kKeywords[i].name)});
  }
  regions.push_back({kReservedAt, field::kRandomSeed - kReservedAt, "reserved bytes"});
  for (std::size_t slot = 0; slot < field::kSignSlots; ++slot) {
    regions.push_back({field::kSignTable + slot * field::kSignSlotSize, field::kSignSlotSize,
                       "sign slot " + std::to_string(slot + 1)});
  }
  regions.push_back({field::kSignCount, kSignCountSize, "sign count"});
  return regions;
}

// The reason given for a region, or a plain statement of the change.
std::string difference_text(const Region& region, const RebuildReasons& reasons,
                            SettingsRecord stored, const LevelSettings& rebuilt) {
  const auto reason = reasons.lower_bound(region.offset);
  if (reason != reasons.end() && reason->first < region.offset + region.size) {
    return region.name + ": " + reason->second;
  }
  std::size_t at = region.offset;
  while (stored[at] == rebuilt.bytes()[at]) ++at;
  return region.name + ": byte " + std::to_string(at - region.offset) + " is " +
         std::to_string(stored[at]) + ", which the config file cannot give; it is rebuilt as " +
         std::to_string(rebuilt.bytes()[at]);
}

}  // namespace

SettingsSources settings_sources(SettingsRecord record) {
  SettingsSources sources;
  RebuildReasons reasons;
  for (std::size_t i = 0; i < kCountedKeywords; ++i) {
    sources.lines.push_back(keyword_line(record, i, reasons));
  }
  const std::size_t signs = sign_count(record, reasons);
  for (std::size_t slot = 0; slot < signs; ++slot) {
    sources.lines.push_back(sign_line(record, slot, reasons));
  }

  // The config reader itself tells what the file rebuilds.
  LevelSettings rebuilt;
  FoundFlags found;
  WarningList warnings;
  parse_level_config(config_file_text(sources), rebuilt, found, warnings);
  for (const Region& region : record_regions()) {
    const auto stored = record.subspan(region.offset, region.size);
    if (std::equal(stored.begin(), stored.end(), rebuilt.bytes().begin() + region.offset)) {
      continue;
    }
    sources.differences.push_back(
        {region.offset, difference_text(region, reasons, record, rebuilt)});
  }
  return sources;
}

std::string config_file_text(const SettingsSources& sources) {
  std::string text;
  for (const SettingLine& line : sources.lines) {
    if (!line.written) continue;
    text += '/';
    text += kKeywords[line.keyword].name;
    text += platform::kTextLineEnd;
    text += line.value;
    // The reader drops one CR before a line feed: where lines end in a line
    // feed alone, a value's own final CR is kept by writing one more.
    if (platform::kTextLineEnd == "\n" && line.value.ends_with('\r')) text += '\r';
    text += platform::kTextLineEnd;
  }
  return text;
}

}  // namespace zur
