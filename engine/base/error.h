// SPDX-License-Identifier: MIT
// Errors whose reason is the system's own text.
#pragma once

#include <string>
#include <system_error>

#include "zur/error.h"

namespace zur {

// An error whose reason is the system's text for `code`.
Error system_error(std::string action, std::string path, std::error_code code);

}  // namespace zur
