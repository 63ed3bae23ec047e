// SPDX-License-Identifier: MIT
// The system's own words for the reasons the programs name after a failure
// ("cannot write X: REASON"), for the tests' expected texts: POSIX's and
// Windows' differ, and so may two versions of Windows.
#pragma once

#include <string>

namespace zur::test {

std::string file_missing_reason();    // a file that is not there
std::string folder_missing_reason();  // a path through a folder that is not there
std::string access_denied_reason();   // a read-only file
#ifdef _WIN32
std::string invalid_name_reason();  // a name with a character Windows' names never hold
#endif

}  // namespace zur::test
