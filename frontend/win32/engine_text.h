// SPDX-License-Identifier: MIT
// Texts between the engine, which works in UTF-8, and Windows, which works
// in UTF-16: the only place the dialog converts them.
#pragma once

#include <string>
#include <string_view>

std::wstring ToWide(std::string_view text);
std::string FromWide(std::wstring_view text);
