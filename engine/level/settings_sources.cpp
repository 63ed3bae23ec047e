// SPDX-License-Identifier: MIT
#include "engine/level/settings_sources.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "engine/level/config_reader.h"
#include "engine/level/shared/byte_order.h"
#include "engine/level/shared/platform.h"
#include "engine/level/shared/warnings.h"

namespace zur {
namespace {

constexpr std::size_t kSignText = 20, kSignPair = 21;
constexpr std::size_t kReservedAt = field::kSignD + 1;
constexpr std::size_t kSignCountSize = 4;

// Why a region of the record will differ, by the region's offset.
using Reasons = std::map<std::size_t, std::string>;

// The record the config reader starts from.
const LevelSettings& defaults() {
  static const LevelSettings settings;
  return settings;
}

// The shortest text of at least `shortest` bytes that gives the field back
// when the config reader copies it, with its terminating zero, over the
// field as the defaults leave it. The reader copies a value line whole, zero
// bytes too, so the text may hold them; it is cut where a value line cannot
// go on.
std::string field_text(SettingsRecord record, std::size_t offset, std::size_t size,
                       std::size_t shortest, Reasons& reasons) {
  const std::uint8_t* at = record.data() + offset;
  const std::uint8_t* left = defaults().bytes().data() + offset;
  const std::size_t last = size - 1;  // where the longest text's zero goes
  if (at[last] != 0) {
    reasons[offset] = "the text has no terminating zero; the rebuilt text keeps its first " +
                      std::to_string(last) + " characters";
  }
  std::size_t length = shortest;
  while (length < last &&
         (at[length] != 0 || !std::equal(at + length + 1, at + last, left + length + 1))) {
    ++length;
  }
  const std::uint8_t* feed = std::find(at, at + length, '\n');
  if (feed != at + length) {
    reasons[offset] =
        "the text holds a line feed, which ends a value line; the rebuilt text "
        "stops before it";
  }
  return std::string(at, feed);
}

std::string yes_no(std::uint8_t value, std::size_t offset, Reasons& reasons) {
  if (value > 1) {
    reasons[offset] = "the yes/no byte is " + std::to_string(value) +
                      ", which a config file cannot give; it is rebuilt as 1 (yes)";
  }
  return value != 0 ? "yes" : "no";
}

SettingLine keyword_line(SettingsRecord record, std::size_t index, Reasons& reasons) {
  const Keyword& keyword = kKeywords[index];
  const std::uint8_t* at = record.data() + keyword.offset;
  switch (keyword.kind) {
    case ValueKind::Text: {
      // An empty value line would end the reading, so an empty text is left
      // out where it is the default, and given with zero bytes elsewhere.
      if (std::all_of(at, at + field::kTextSize, [](std::uint8_t b) { return b == 0; }) &&
          defaults().bytes()[keyword.offset] == 0) {
        return {index, {}, false};
      }
      return {index, field_text(record, keyword.offset, field::kTextSize, 1, reasons)};
    }
    case ValueKind::YesNo:
      return {index, yes_no(*at, keyword.offset, reasons)};
    case ValueKind::Integer:
      return {index, std::to_string(get_integer(at, keyword.size))};
    case ValueKind::Tenths:
      return {index, std::to_string(*at * 10)};
    case ValueKind::IntegerTriple:
      return {index,
              std::to_string(at[0]) + "," + std::to_string(at[1]) + "," + std::to_string(at[2])};
    case ValueKind::SignText:
    case ValueKind::SignPair:
      break;
  }
  return {index, {}};
}

// A sign as SIGNTEXT1 when it has no second text, else as SIGNTEXT2, whose
// first comma splits the two texts.
SettingLine sign_line(SettingsRecord record, std::size_t slot, Reasons& reasons) {
  const std::size_t offset = field::kSignTable + slot * field::kSignSlotSize;
  const std::string first = field_text(record, offset, field::kSignHalfSize, 0, reasons);
  const std::string second =
      field_text(record, offset + field::kSignHalfSize, field::kSignHalfSize, 0, reasons);
  if (!first.empty() && second.empty()) return {kSignText, first};
  if (first.find(',') == std::string::npos) return {kSignPair, first + "," + second};
  reasons[offset] =
      "the first text holds a comma and a second text follows, which one sign "
      "line cannot give; the rebuilt sign has no second text";
  return {kSignText, first};
}

std::size_t sign_count(SettingsRecord record, Reasons& reasons) {
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
std::string difference_text(const Region& region, const Reasons& reasons, SettingsRecord stored,
                            const LevelSettings& rebuilt) {
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
  Reasons reasons;
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
