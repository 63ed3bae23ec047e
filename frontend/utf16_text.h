// SPDX-License-Identifier: MIT
// Texts between the engine, which works in UTF-8, and a toolkit that works
// in UTF-16. An engine text that is not UTF-8 (a file name in another
// encoding) is still shown, read as Latin-1; a UTF-16 text's lone surrogate
// becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace zur::dialog {

std::u16string utf16_from_engine(std::string_view text);
std::string engine_from_utf16(std::u16string_view text);

}  // namespace zur::dialog
