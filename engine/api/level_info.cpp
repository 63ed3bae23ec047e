// SPDX-License-Identifier: MIT
#include "engine/api/level_info.h"

#include <cmath>
#include <map>

namespace zur {
namespace {

Json findings(const std::vector<Finding>& list) {
  Json array = Json::array();
  for (const Finding& finding : list)
    array.push_back({{"offset", finding.offset}, {"text", finding.text}});
  return array;
}

std::string bytes_text(std::span<const std::uint8_t> bytes) {
  return {bytes.begin(), bytes.end()};
}

Json header(const LevelContents& level) {
  Json header = {
      {"signature",
       bytes_text(std::span(level.signature)
                      .first(std::min<std::size_t>(level.file_size, level.signature.size())))},
      {"signature_matches", level.signature_matches}};
  if (level.file_size < level_format::kSettingsAt) return header;
  header["picture_offset"] = level.picture_at;
  header["parallax_offset"] = level.parallax_at;
  header["objects_offset"] = level.objects_at;
  if (level.picture) header["picture_size"] = level.picture->size();
  if (level.parallax) header["parallax_size"] = level.parallax->size();
  if (level.object_count && level.stream) {
    header["objects_size"] = level.stream->offset - level.objects_at;
  }
  if (level.stream && level.stream->ended) {
    header["stream_size"] = level.file_size - level.stream->bytes_after - level.stream->offset;
  }
  return header;
}

Json settings(const LevelContents& level) {
  Json settings = Json::object();
  Json signs = Json::array();
  for (const SettingLine& line : level.settings.lines) {
    const std::string keyword(kKeywords[line.keyword].name);
    if (line.keyword < kCountedKeywords) {
      settings[keyword] = line.value;
    } else {
      signs.push_back({{"keyword", keyword}, {"value", line.value}});
    }
  }
  settings["signs"] = signs;
  return settings;
}

Json picture(std::span<const std::uint8_t> bytes, const std::optional<JpegSize>& frame) {
  Json picture = {{"bytes", bytes.size()}};
  if (frame) {
    picture["jpeg_width"] = frame->width;
    picture["jpeg_height"] = frame->height;
  }
  return picture;
}

Json pictures(const LevelContents& level) {
  Json pictures = Json::object();
  if (level.picture) {
    if (level.gg_level) {
      if (level.size_section) {
        pictures["map_size_section"] = {{"width", level.size_section->width},
                                        {"height", level.size_section->height}};
      }
    } else {
      pictures["picture"] = picture(*level.picture, level.picture_frame);
    }
  }
  if (level.parallax && level.para)
    pictures["parallax"] = picture(*level.parallax, level.parallax_frame);
  return pictures;
}

Json objects(const LevelContents& level, bool list) {
  Json objects = Json::object();
  if (!level.object_count) return objects;
  objects["count"] = *level.object_count;
  std::map<int, std::size_t> per_kind;
  for (const PlacedObject& object : level.objects) ++per_kind[object.record.kind];
  Json kinds = Json::object();
  for (const auto& [kind, count] : per_kind) kinds[std::to_string(kind)] = count;
  objects["per_kind"] = kinds;
  if (!list) return objects;
  Json records = Json::array();
  for (const PlacedObject& object : level.objects) {
    const ObjectRecord& r = object.record;
    records.push_back(
        {{"x", r.x},
         {"y", r.y},
         {"kind", r.kind},
         {"parameters", Json(std::vector<int>(r.parameters.begin(), r.parameters.end()))}});
  }
  objects["list"] = records;
  return objects;
}

const char* size_source(MapSizeSource source) {
  switch (source) {
    case MapSizeSource::kSizeSection:
      return "map size section";
    case MapSizeSource::kLevelPicture:
      return "level picture";
    case MapSizeSource::kGiven:
      return "given";
    case MapSizeSource::kUnknown:
      break;
  }
  return "unknown";
}

Json stream(const LevelContents& level) {
  Json stream = Json::object();
  if (!level.stream) return stream;
  const StreamFacts& facts = *level.stream;
  stream["tokens"] = facts.tokens;
  stream["pixels"] = facts.pixels;
  stream["end_token"] = facts.ended;
  std::map<ReportGroup, std::uint64_t> groups;
  for (std::size_t code = 0; code < facts.histogram.size(); ++code) {
    const ReportGroup group = code < kPalette.size() ? kPalette[code].group : ReportGroup::kNone;
    groups[group] += facts.histogram[code];
  }
  // Per cent, to one decimal.
  const auto share = [&](ReportGroup group) {
    return facts.pixels == 0
               ? 0.0
               : std::round(double(groups[group]) * 1000.0 / double(facts.pixels)) / 10.0;
  };
  Json shares = Json::object();
  for (ReportGroup group : kReportGroups)
    shares[std::string(report_group_name(group))] = share(group);
  shares[std::string(report_group_name(ReportGroup::kNone))] = share(ReportGroup::kNone);
  stream["shares"] = shares;
  if (level.map_size) {
    stream["width"] = level.map_size->width;
    stream["height"] = level.map_size->height;
  }
  stream["size_from"] = size_source(level.map_size_source);
  return stream;
}

bool is_scalar_list(const Json& value) {
  if (!value.is_array()) return false;
  for (const Json& item : value) {
    if (item.is_structured()) return false;
  }
  return true;
}

// A scalar, or a list of scalars as "[1, 2]".
std::string scalar_text(const Json& value) {
  if (!value.is_array()) return value.dump(-1, ' ', false, Json::error_handler_t::replace);
  std::string text;
  for (const Json& item : value) text += (text.empty() ? "" : ", ") + scalar_text(item);
  return "[" + text + "]";
}

// An object in one line: "key: value, key: value".
std::string inline_text(const Json& object) {
  std::string text;
  for (const auto& [key, value] : object.items()) {
    text += (text.empty() ? "" : ", ") + key + ": " + scalar_text(value);
  }
  return text;
}

void append_text(std::string& out, const Json& object, const std::string& indent) {
  for (const auto& [key, value] : object.items()) {
    if (!value.is_structured() || is_scalar_list(value)) {
      out += indent + key + ": " + scalar_text(value) + "\n";
    } else if (value.is_array()) {
      out += indent + key + ":" + (value.empty() ? " none" : "") + "\n";
      for (const Json& item : value) {
        out += indent + "  - " + (item.is_object() ? inline_text(item) : scalar_text(item)) + "\n";
      }
    } else {
      out += indent + key + ":\n";
      append_text(out, value, indent + "  ");
    }
  }
}

}  // namespace

Json level_info(const std::string& name, const LevelContents& level, bool list_objects) {
  Json info = {{"file", name}, {"size", level.file_size}, {"header", header(level)}};
  if (level.header_complete) {
    info["settings"] = settings(level);
    info["pictures"] = pictures(level);
    info["objects"] = objects(level, list_objects);
    info["stream"] = stream(level);
  }
  info["problems"] = findings(level.problems);
  info["differences"] = findings(level.differences);
  info["sound"] = level.problems.empty();
  return info;
}

std::string info_text(const Json& info) {
  std::string text;
  append_text(text, info, "");
  return text;
}

std::string json_text(const Json& document) {
  return document.dump(2, ' ', false, Json::error_handler_t::replace);
}

}  // namespace zur
