// SPDX-License-Identifier: MIT
// Finds a level's source files. A name is the level prefix plus a source's
// suffix (source_table.h); a file whose name differs from that only in ASCII
// letter case is found too, but never one of several such names chosen by
// chance: a level whose source two names could be is not converted.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/base/error.h"
#include "engine/base/platform.h"
#include "engine/conversion/source_table.h"
#include "engine/level/level_prefix.h"

namespace zur {

struct FoundSource {
  // The file to read: the one name chosen, else the name as formed, which
  // then fails to open.
  std::string path;
  // Two or more names equal to the formed one ignoring case when no rule
  // chose among them, in byte order; empty otherwise.
  std::vector<std::string> candidates;

  bool ambiguous() const { return !candidates.empty(); }
  // "jungle.txt and JUNGLE.txt both match: rename one"
  Error ambiguity() const;
};

using FoundSources = std::array<FoundSource, kSourceFiles.size()>;

// In this order: the name as formed (for the config file the user named,
// the name they gave); the name in the letter case of the config suffix the
// user gave; the one name in the folder equal to it ignoring case. Looked
// for through `system`.
FoundSource find_source(const NamedLevel& level, const SourceFile& source,
                        platform::System& system);

// Each source of the level as find_source finds it, in table order.
FoundSources find_sources(const NamedLevel& level, platform::System& system);

// The paths of `found`, and every candidate of an ambiguous one: all that an
// output must not be written over.
std::vector<std::string> source_paths(const FoundSources& found);

}  // namespace zur
