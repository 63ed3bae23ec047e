// SPDX-License-Identifier: MIT
#include "engine/attrmap/report.h"

#include <cstdio>

#include "engine/attrmap/palette.h"
#include "engine/conversion/level_format.h"

namespace zur {
namespace {

// Shares and hints count whole blocks of this many pixels.
constexpr std::int64_t kBlockPixels = 1024;
constexpr float kBytesPerMegabyte = 1024.0f * 1024.0f;

std::string format(const char* pattern, auto... values) {
  const int length = std::snprintf(nullptr, 0, pattern, values...);
  std::string text(static_cast<std::size_t>(length), '\0');
  std::snprintf(text.data(), text.size() + 1, pattern, values...);
  return text;
}

ReportGroup tag_of(const PaletteEntry& entry, ReportGroup) {
  return entry.group;
}
Hint tag_of(const PaletteEntry& entry, Hint) {
  return entry.hint;
}

// The histogram in whole blocks, and the map's size in blocks (at least 1,
// so that shares never divide by zero).
struct BlockCounts {
  explicit BlockCounts(const PackStats& packing)
      : total(std::max<std::int64_t>(packing.unpacked / kBlockPixels, 1)) {
    for (std::size_t code = 0; code < blocks.size(); ++code) {
      blocks[code] = packing.histogram[code] / kBlockPixels;
    }
  }

  // Blocks of the codes the palette puts in `group`, or gives `hint`.
  template <typename Tag>
  std::int64_t sum(Tag tag) const {
    std::int64_t sum = 0;
    for (std::size_t code = 0; code < kPalette.size(); ++code) {
      if (tag_of(kPalette[code], tag) == tag) sum += blocks[code];
    }
    return sum;
  }
  double percent(ReportGroup group) const {
    return static_cast<double>(sum(group)) * 100.0 / static_cast<double>(total);
  }
  std::int64_t in_tenths(Hint hint) const { return sum(hint) * 10 / total; }

  std::array<std::int64_t, 256> blocks{};
  std::int64_t total;
};

std::int64_t integer_power(std::int64_t base, int exponent) {
  std::int64_t power = 1;
  for (int i = 0; i < exponent; ++i) power *= base;
  return power;
}

int power_of_two_exponent(std::int64_t value) {
  if (value < 2) return 0;
  int n = 1;
  while (integer_power(2, n) < value) ++n;
  return n;
}

std::string completion_text(const Conversion& conversion) {
  std::string text =
      "Conversion succesfully completed for level:\n"
      "-------------------------------------------------------------\n" +
      conversion.level_file;
  const auto& warnings = conversion.warnings.texts();
  if (!warnings.empty()) {
    text += "\n\nWarnings:\n";
    for (const std::string& warning : warnings) text += " - " + warning + "\n";
    text += format("Total %d warnings", static_cast<int>(warnings.size()));
  }
  return text + "\n\nDo you want to see info on conversion?";
}

void show_hints(const BlockCounts& counts, UserPrompts& prompts) {
  if (counts.sum(Hint::kAir) * 100 / counts.total == 0) {
    prompts.show_message(
        "Only less than one percent of your level is air!\nI hope you know what you're\ndoing..",
        Icon::None);
  }
  if (counts.in_tenths(Hint::kExplosive) > 1) {
    prompts.show_message("What an EXPLOSIVE level you've made! :)", Icon::None);
  } else if (counts.in_tenths(Hint::kIndestructibleWall) > 3) {
    prompts.show_message("Lots of indestructable wall.. Uuh.", Icon::None);
  } else if (counts.in_tenths(Hint::kRepair) > 1) {
    prompts.ask_yes_no(
        "Are you going to just repair all day long?\nOver 1/10 of your level is repairing place..",
        Icon::None, Question::RepairHint);
  }
}

}  // namespace

float memory_estimate_megabytes(std::int32_t width, std::int32_t height) {
  const std::int64_t bytes =
      integer_power(2, power_of_two_exponent(std::int64_t{width} + 14)) * (height + 14) * 3;
  return static_cast<float>(bytes) / kBytesPerMegabyte;
}

std::string statistics_text(const MapFacts& facts, const FoundFlags& found, std::uint32_t seconds) {
  const PackStats& packing = facts.packing;
  const BlockCounts counts(packing);
  const std::int64_t ratio = packing.packed == 0 ? 0 : packing.unpacked / packing.packed;
  std::string text = format(
      "Attribute map info:\nPacked: %lld, Unpacked: %lld\nRatio: %lld (bigger is better)\n\n"
      "Level is taking memory: %.01f megabytes\n\nObjects (turrets, gates etc.)\nin the level: "
      "%d\n\nAmounts for certain attributes:\nEmpty: %.01f %%\nBasic land: %.01f %%\nWater: "
      "%.01f %%\nRepair place: %.01f %%\n\nConversion time: %u seconds",
      static_cast<long long>(packing.packed), static_cast<long long>(packing.unpacked),
      static_cast<long long>(ratio),
      static_cast<double>(memory_estimate_megabytes(facts.width, facts.height)),
      static_cast<int>(facts.objects), counts.percent(ReportGroup::kEmpty),
      counts.percent(ReportGroup::kBasicLand), counts.percent(ReportGroup::kWater),
      counts.percent(ReportGroup::kRepairPlace), seconds);
  bool listed = false;
  for (std::size_t i = 0; i < kKeywords.size(); ++i) {
    if (found[i]) continue;
    if (!listed) {
      text +=
          "\n\n--------------------------------------------\n\nThese parameters were NOT "
          "found\nin the config file (txt):\n\n";
      listed = true;
    }
    text += " - " + std::string(kKeywords[i].name) + "\n";
  }
  return text;
}

void show_conversion_report(const MapFacts& facts, const Conversion& conversion) {
  // Timed before the first message box, so the time covers the conversion
  // and none of the report.
  const std::uint32_t seconds = (conversion.clock() - conversion.job_start_ms) / 1000;
  UserPrompts& prompts = conversion.prompts;
  if (prompts.ask_yes_no(completion_text(conversion), Icon::Information,
                         Question::ConversionInfo)) {
    prompts.show_message(statistics_text(facts, conversion.found, seconds), Icon::None);
  }
  show_hints(BlockCounts(facts.packing), prompts);
}

}  // namespace zur
