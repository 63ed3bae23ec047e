// SPDX-License-Identifier: MIT
#include "check_command.h"

namespace zur::cli {

int run_check(const Options& options, std::FILE* out, std::FILE* err) {
  std::vector<LevelCheck> checks;
  bool failed = false;
  for (const std::string& level : options.levels) {
    CheckOptions check_options;
    check_options.mask_file = options.mask;
    LevelCheck check = check_level(level, check_options);
    failed = failed || has_failure(check, options.strict);
    if (!check.mask_status.ok())
      std::fprintf(err, "zurconv: %s\n", check.mask_status.text().c_str());
    // Only the JSON document needs every level's findings at the end.
    if (options.json) {
      checks.push_back(std::move(check));
    } else {
      std::fputs(check_text(check, options.quiet).c_str(), out);
    }
  }
  if (options.json) std::fputs(check_json(checks, options.strict).c_str(), out);
  return failed ? 1 : 0;
}

}  // namespace zur::cli
