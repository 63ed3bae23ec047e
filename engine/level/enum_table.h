// SPDX-License-Identifier: MIT
// Tables indexed by an enumeration's values: the check that each entry sits
// at its own value's place, for a static_assert beside the table.
#pragma once

#include <cstddef>

namespace zur {

template <class Table, class Entry, class Enum>
constexpr bool indexed_by(const Table& table, Enum Entry::*key) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (static_cast<std::size_t>(table[i].*key) != i) return false;
  }
  return true;
}

}  // namespace zur
