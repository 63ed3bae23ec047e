// SPDX-License-Identifier: MIT
#include "option_table.h"

namespace zur::cli {

std::string spelled_out(const OptionSpelling& option, std::string_view separator) {
  std::string text;
  if (option.short_name != '\0') text = {'-', option.short_name};
  if (option.short_name != '\0' && !option.name.empty()) text += separator;
  if (!option.name.empty()) text.append("--").append(option.name);
  if (!option.value.empty()) text.append(" ").append(option.value);
  return text;
}

std::string help_lines(std::string column, std::string_view help, std::size_t width,
                       std::string_view indent) {
  std::string text;
  for (std::size_t line_end; (line_end = help.find('\n')) != std::string_view::npos;) {
    column.resize(width, ' ');
    text.append(indent).append(column).append(help.substr(0, line_end)) += '\n';
    help.remove_prefix(line_end + 1);
    column.clear();
  }
  column.resize(width, ' ');
  text.append(indent).append(column).append(help) += '\n';
  return text;
}

}  // namespace zur::cli
