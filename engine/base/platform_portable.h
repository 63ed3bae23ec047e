// SPDX-License-Identifier: MIT
// Inside the platform seam only: what every system does alike through the
// standard library, written once for the POSIX and the Windows system.
#pragma once

#include <string>
#include <system_error>
#include <vector>

#include "engine/base/platform.h"

namespace zur::platform::portable {

// As System::folder_entries and System::name_exists.
std::error_code folder_entries(const std::string& folder, std::vector<FolderEntry>& entries);
bool name_exists(const std::string& path);

}  // namespace zur::platform::portable
