// SPDX-License-Identifier: MIT
// The warning list: non-fatal findings of one conversion, in the order they
// arose, shown by the conversion report. Reset at the start of every
// conversion; it stays readable after the conversion ends.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zur {

namespace warning {
inline constexpr std::string_view kUnknownParameters =
    "Unknown parameters in config file (txt). Skipped";
inline constexpr std::string_view kMissingParameters = "Not all config parameters were found";
inline constexpr std::string_view kTooLongText = "Too long text in config file (txt). Cut";
inline constexpr std::string_view kTooManySigns = "Over 16 signs in config file (txt). Skipped";
inline constexpr std::string_view kIllegalColours = "You had illegal colors in your attribute map";
}  // namespace warning

class WarningList {
 public:
  static constexpr std::size_t kCapacity = 50;
  static constexpr std::size_t kMaxLength = 49;

  // Texts are cut to kMaxLength characters; once the list is full, further
  // warnings are dropped.
  void append(std::string_view text);
  void reset() { texts_.clear(); }

  std::size_t count() const { return texts_.size(); }
  const std::vector<std::string>& texts() const { return texts_; }

 private:
  std::vector<std::string> texts_;
};

}  // namespace zur
