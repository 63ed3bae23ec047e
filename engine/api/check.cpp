// SPDX-License-Identifier: MIT
// The check as the public interface offers it, and its renderings.
#include "zur/check.h"

#include <nlohmann/json.hpp>

#include "engine/api/level_info.h"
#include "engine/attrmap/palette.h"
#include "engine/level/level_check.h"
#include "zur/convert.h"

namespace zur {
namespace {

using json = Json;

json optional_number(const std::optional<std::int64_t>& number) {
  return number ? json(*number) : json(nullptr);
}

json place_json(const MapPlace& place) {
  return {{"x", place.x}, {"y", place.y}};
}

json problem_json(const Problem& problem) {
  return {{"severity", severity_name(severity(problem.code))},
          {"code", code_name(problem.code)},
          {"file", problem.file},
          {"line", optional_number(problem.line)},
          {"x", optional_number(problem.x)},
          {"y", optional_number(problem.y)},
          {"message", problem.message}};
}

json illegal_colours_json(const MapCheckFindings& findings) {
  json colours = json::array();
  for (const IllegalColour& colour : findings.illegal_colours) {
    const Rgb& nearest = kPalette[colour.nearest_code].colour;
    colours.push_back({{"red", colour.colour.red},
                       {"green", colour.colour.green},
                       {"blue", colour.colour.blue},
                       {"pixels", colour.pixels},
                       {"first", place_json(colour.first)},
                       {"nearest",
                        {{"code", colour.nearest_code},
                         {"red", nearest.red},
                         {"green", nearest.green},
                         {"blue", nearest.blue}}}});
  }
  return {{"pixels", findings.illegal_pixels},
          {"distinct", findings.distinct_illegal_colours},
          {"colours", colours}};
}

// The list's fields are named as zurlev info --objects names a level file's.
json objects_json(const MapCheckFindings& findings) {
  json list = json::array();
  for (const MapObject& object : findings.objects) {
    list.push_back({{"x", object.place.x},
                    {"y", object.place.y},
                    {"kind", object.marker.kind},
                    {"parameters", object.marker.parameters}});
  }
  return {{"count", findings.objects.size()},
          {"dropped", findings.dropped_markers},
          {"by_kind", findings.objects_by_kind},
          {"list", list}};
}

json level_json(const LevelCheck& check, bool strict) {
  json problems = json::array();
  for (const Problem& problem : check.problems) problems.push_back(problem_json(problem));
  json level = {{"level", check.level}, {"ok", !has_failure(check, strict)}, {"problems", problems},
                {"map", nullptr},       {"illegal_colours", nullptr},        {"objects", nullptr}};
  if (check.map) {
    level["map"] = {{"width", check.map->width},
                    {"height", check.map->height},
                    {"top_down", check.map->top_down}};
  }
  if (check.findings) {
    level["illegal_colours"] = illegal_colours_json(*check.findings);
    level["objects"] = objects_json(*check.findings);
  }
  if (!check.mask.empty() && check.mask_status.ok()) level["mask"] = check.mask;
  return level;
}

}  // namespace

std::string check_text(const LevelCheck& check, bool quiet) {
  std::string text;
  std::size_t errors = 0;
  for (const Problem& problem : check.problems) {
    const Severity level = severity(problem.code);
    if (level == Severity::kError) ++errors;
    if (quiet && level != Severity::kError) continue;
    text += problem.file;
    if (problem.line) text.append(":").append(std::to_string(*problem.line));
    text.append(": ").append(severity_name(level)).append(": ").append(problem.message);
    text.append(" [").append(code_name(problem.code)).append("]\n");
  }
  if (!quiet) {
    text += shown_level(check.level) + ": " + counted(errors, "error") + ", " +
            counted(check.problems.size() - errors, "warning") + "\n";
  }
  return text;
}

std::string check_json(std::span<const LevelCheck> checks, bool strict) {
  json levels = json::array();
  for (const LevelCheck& check : checks) levels.push_back(level_json(check, strict));
  const json document = {{"levels", levels}};
  return json_text(document) + "\n";
}

LevelCheck check_level(std::string_view level, const CheckOptions& options) {
  return check_level(level_from_argument(level, options.picked_configs), options.mask_file,
                     *options.system, {options.mask_rows, options.attribute_rows});
}

}  // namespace zur
