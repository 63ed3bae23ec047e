// SPDX-License-Identifier: MIT
// Command-line options described by one table per command: how each option
// is spelled, the value it takes, its help and what it does to the command's
// options. Parsing, the usage line and the help all come from the table.
// Arguments are read as "-y -s" or "-ys", "-o FILE" or "-oFILE", "--output
// FILE" or "--output=FILE"; "--" ends the options and "-" alone is no option.
#pragma once

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zur::cli {

// How an option is typed and shown.
struct OptionSpelling {
  char short_name;         // '\0' when there is only the long name
  std::string_view name;   // without the leading "--"; empty when there is only the short name
  std::string_view value;  // the value's name in usage; empty when it takes none
  std::string_view help;   // lines after the first are indented under it
};

template <class Options>
struct Option : OptionSpelling {
  // Applies the option with its value (empty when it takes none): a one-line
  // reason when the value is refused, else empty.
  std::string (*apply)(Options&, std::string value);
};

// An `apply` that sets a member to a fixed value.
template <auto member, auto value, class Options>
std::string set(Options& options, std::string) {
  options.*member = value;
  return {};
}

// An `apply` that keeps the value in a member.
template <auto member, class Options>
std::string take(Options& options, std::string value) {
  options.*member = std::move(value);
  return {};
}

struct OptionError {
  enum class Kind { kUnknown, kMissingValue, kRefused };
  Kind kind;
  std::string argument;  // the whole argument: "-yx" for an unknown -x
  std::string option;    // as typed: "-x", "--name" ("--name=value" for an unknown one)
  std::string text;      // "unknown option -x", "option -o needs a FILE", or the refusal
};

// "-y|--yes", "--depfile FILE": the option as typed, the names joined by
// `separator`.
std::string spelled_out(const OptionSpelling& option, std::string_view separator);

// Lines of a two-column help: `column` padded to `width`, then the help,
// whose lines after the first are indented under its first.
std::string help_lines(std::string column, std::string_view help, std::size_t width,
                       std::string_view indent);

namespace option_detail {

template <class Options>
class Parser {
 public:
  Parser(std::span<const Option<Options>> table, std::span<const std::string> arguments,
         Options& options, std::vector<std::string>& operands)
      : table_(table), arguments_(arguments), options_(options), operands_(operands) {}

  std::optional<OptionError> parse() {
    bool options_ended = false;
    for (next_ = 0; next_ < arguments_.size() && !error_;) {
      const std::string& argument = arguments_[next_++];
      argument_ = argument;
      if (options_ended || argument.size() < 2 || argument[0] != '-') {
        operands_.push_back(argument);
      } else if (argument == "--") {
        options_ended = true;
      } else if (argument[1] == '-') {
        parse_long(std::string_view(argument).substr(2));
      } else {
        parse_short_group(std::string_view(argument).substr(1));
      }
    }
    return std::move(error_);
  }

 private:
  const Option<Options>* find(auto matches) const {
    const auto found = std::find_if(table_.begin(), table_.end(), matches);
    return found == table_.end() ? nullptr : &*found;
  }

  void parse_long(std::string_view text) {
    const std::size_t equals = text.find('=');
    const std::string_view name = text.substr(0, equals);
    const Option<Options>* option =
        find([&](const Option<Options>& o) { return !o.name.empty() && o.name == name; });
    if (option == nullptr || (option->value.empty() && equals != std::string_view::npos)) {
      unknown("--" + std::string(text));
    } else if (option->value.empty()) {
      apply(*option, "--" + std::string(name), {});
    } else if (equals != std::string_view::npos) {
      apply(*option, "--" + std::string(name), std::string(text.substr(equals + 1)));
    } else {
      take_value(*option, "--" + std::string(name));
    }
  }

  // A value is the rest of the group: -qo x.lev is -q -o x.lev, -ox.lev too.
  void parse_short_group(std::string_view group) {
    for (std::size_t i = 0; i < group.size(); ++i) {
      const char name = group[i];
      const Option<Options>* option = find(
          [&](const Option<Options>& o) { return o.short_name != '\0' && o.short_name == name; });
      if (option == nullptr) return unknown(std::string{'-', name});
      if (option->value.empty()) {
        apply(*option, {'-', name}, {});
      } else if (i + 1 < group.size()) {
        return apply(*option, {'-', name}, std::string(group.substr(i + 1)));
      } else {
        return take_value(*option, std::string{'-', name});
      }
    }
  }

  void take_value(const Option<Options>& option, std::string spelled) {
    if (next_ == arguments_.size()) {
      std::string text = "option " + spelled + " needs a " + std::string(option.value);
      fail(OptionError::Kind::kMissingValue, std::move(spelled), std::move(text));
      return;
    }
    apply(option, std::move(spelled), arguments_[next_++]);
  }

  void apply(const Option<Options>& option, std::string spelled, std::string value) {
    std::string refusal = option.apply(options_, std::move(value));
    if (refusal.empty()) return;
    fail(OptionError::Kind::kRefused, std::move(spelled), std::move(refusal));
  }

  void unknown(std::string option) {
    std::string text = "unknown option " + option;
    fail(OptionError::Kind::kUnknown, std::move(option), std::move(text));
  }

  void fail(OptionError::Kind kind, std::string option, std::string text) {
    error_ = OptionError{kind, std::string(argument_), std::move(option), std::move(text)};
  }

  std::span<const Option<Options>> table_;
  std::span<const std::string> arguments_;
  Options& options_;
  std::vector<std::string>& operands_;
  std::size_t next_ = 0;
  std::string_view argument_;  // the one being read
  std::optional<OptionError> error_;
};

}  // namespace option_detail

// Reads `arguments` against `table` into `options`, and the arguments that
// are no options into `operands`; the first error ends the reading.
template <class Options>
std::optional<OptionError> parse_options(std::span<const Option<Options>> table,
                                         std::span<const std::string> arguments, Options& options,
                                         std::vector<std::string>& operands) {
  return option_detail::Parser<Options>(table, arguments, options, operands).parse();
}

// " [-y|--yes] [--depfile FILE]": every option, for a usage line.
template <class Options>
std::string usage_of(std::span<const Option<Options>> table) {
  std::string text;
  for (const OptionSpelling& option : table) text += " [" + spelled_out(option, "|") + "]";
  return text;
}

// A line per option, "  -y, --yes  what it does". Where some option has
// both names, a long name alone is indented to stand under the long names.
template <class Options>
std::string help_of(std::span<const Option<Options>> table) {
  const bool both_names = std::any_of(table.begin(), table.end(), [](const OptionSpelling& o) {
    return o.short_name != '\0' && !o.name.empty();
  });
  std::vector<std::string> columns;
  std::size_t width = 0;
  for (const OptionSpelling& option : table) {
    columns.push_back((both_names && option.short_name == '\0' ? "    " : "") +
                      spelled_out(option, ", "));
    width = std::max(width, columns.back().size() + 2);
  }
  std::string text;
  for (std::size_t i = 0; i < table.size(); ++i) {
    text += help_lines(std::move(columns[i]), table[i].help, width, "  ");
  }
  return text;
}

}  // namespace zur::cli
