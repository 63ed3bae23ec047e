// SPDX-License-Identifier: MIT
// The repair of a level's illegal colours as the public interface offers it:
// the level's attribute map found as a conversion finds it, and the copy
// kept off every file the level is made of or made into.
#include "zur/repair.h"

#include <system_error>
#include <utility>
#include <vector>

#include "engine/attrmap/colour_repair.h"
#include "engine/base/error.h"
#include "engine/base/input_file.h"
#include "engine/base/platform.h"
#include "engine/conversion/level_format.h"
#include "engine/level/problem.h"
#include "engine/level/source_files.h"

namespace zur {

RepairResult repair_colours(std::string_view level, const std::string& out,
                            platform::System& system, const RepairPictures& pictures) {
  const NamedLevel named = level_from_argument(level);
  const FoundSources found = find_sources(named, system);
  const FoundSource& map = found[source::kAttributeMap];
  // A map the lookup found no file for is named as a conversion names it,
  // with the system's own reason.
  Status found_map = map.ambiguous() ? Status(map.ambiguity()) : Status();
  if (found_map.ok() && !platform::exists(system, map.path)) {
    found_map = InputFile(system).open(map.path);
  }
  if (!found_map.ok()) {
    Error error = found_map.error();
    error.action = "cannot read";
    error.path = missing_source_name(named.prefix, kSourceFiles[source::kAttributeMap]);
    return {error.path, out, 0, std::move(error)};
  }
  std::vector<std::string> others = source_paths(found);
  others.push_back(named.prefix + std::string(suffix::kLevelFile));
  return repair_map_file(map.path, out, others, system, pictures);
}

std::string repair_text(const RepairResult& result) {
  return result.out + ": " + counted(result.repaired, "illegal pixel") + " of " + result.map +
         " repaired";
}

}  // namespace zur
