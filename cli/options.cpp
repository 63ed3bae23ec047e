// SPDX-License-Identifier: MIT
#include "cli/options.h"

#include <algorithm>
#include <string_view>

namespace zur::cli {
namespace {

struct OptionEntry {
  char short_name;         // '\0' when there is only the long name
  std::string_view name;   // without the leading "--"
  std::string_view value;  // the value's name in usage; empty when it takes none
  std::string_view help;   // lines after the first are indented under it
  void (*apply)(Options&, std::string value);
};

constexpr OptionEntry kOptions[] = {
    {'y', "yes", "", "go on when the attribute map has illegal colours (they become air)",
     [](Options& o, std::string) { o.illegal_colours = IllegalColourAnswer::Yes; }},
    {'n', "no", "",
     "stop at illegal colours\n(with neither, the terminal is asked, or the answer is no)",
     [](Options& o, std::string) { o.illegal_colours = IllegalColourAnswer::No; }},
    {'s', "stats", "", "show the statistics of each conversion",
     [](Options& o, std::string) { o.show_statistics = true; }},
    {'q', "quiet", "", "print only error messages, and no progress bar",
     [](Options& o, std::string) { o.quiet = true; }},
    {'o', "output", "FILE", "write the level file to FILE (ending in .lev); one LEVEL only",
     [](Options& o, std::string file) { o.output = std::move(file); }},
    {'\0', "depfile", "FILE",
     "after a successful conversion, write FILE in Make's depfile form:\n"
     "the level file and the sources it was made from; one LEVEL only",
     [](Options& o, std::string file) { o.depfile = std::move(file); }},
    {'\0', "check", "",
     "convert nothing: list every problem of each level's sources,\n"
     "one per line (FILE[:LINE]: SEVERITY: MESSAGE [CODE])",
     [](Options& o, std::string) { o.check = true; }},
    {'\0', "json", "", "with --check: one JSON document instead",
     [](Options& o, std::string) { o.json = true; }},
    {'\0', "mask", "", "with --check: also write PREFIX-check.png, illegal pixels in magenta",
     [](Options& o, std::string) { o.mask = true; }},
    {'\0', "strict", "", "with --check: warnings count as errors for the exit status",
     [](Options& o, std::string) { o.strict = true; }},
    {'h', "help", "", "show this help", [](Options& o, std::string) { o.help = true; }},
    {'\0', "version", "", "show the version", [](Options& o, std::string) { o.version = true; }},
};

const OptionEntry* find_short(char name) {
  for (const OptionEntry& entry : kOptions) {
    if (entry.short_name != '\0' && entry.short_name == name) return &entry;
  }
  return nullptr;
}

const OptionEntry* find_long(std::string_view name) {
  for (const OptionEntry& entry : kOptions) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

// Reads the arguments one by one; a value is the rest of its argument
// ("--output=x.lev", "-ox.lev") or the next argument.
class Parser {
 public:
  explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

  ParsedArguments parse() {
    bool options_ended = false;
    for (next_ = 0; next_ < arguments_.size() && parsed_.error.empty();) {
      const std::string& argument = arguments_[next_++];
      if (options_ended || argument.size() < 2 || argument[0] != '-') {
        parsed_.options.levels.push_back(argument);
      } else if (argument == "--") {
        options_ended = true;
      } else if (argument[1] == '-') {
        parse_long(std::string_view(argument).substr(2));
      } else {
        parse_short_group(std::string_view(argument).substr(1));
      }
    }
    if (parsed_.error.empty()) check_combination();
    return parsed_;
  }

 private:
  void parse_long(std::string_view text) {
    const std::size_t equals = text.find('=');
    const OptionEntry* entry = find_long(text.substr(0, equals));
    if (entry == nullptr || (entry->value.empty() && equals != std::string_view::npos)) {
      fail("unknown option --" + std::string(text));
    } else if (entry->value.empty()) {
      entry->apply(parsed_.options, {});
    } else if (equals != std::string_view::npos) {
      entry->apply(parsed_.options, std::string(text.substr(equals + 1)));
    } else {
      take_value(*entry, "--" + std::string(entry->name));
    }
  }

  // Short options may be grouped: -ys is -y -s, and -qo x.lev is -q -o x.lev.
  void parse_short_group(std::string_view group) {
    for (std::size_t i = 0; i < group.size(); ++i) {
      const OptionEntry* entry = find_short(group[i]);
      if (entry == nullptr) return fail("unknown option -" + std::string(1, group[i]));
      if (entry->value.empty()) {
        entry->apply(parsed_.options, {});
      } else if (i + 1 < group.size()) {
        return entry->apply(parsed_.options, std::string(group.substr(i + 1)));
      } else {
        return take_value(*entry, std::string{'-', group[i]});
      }
    }
  }

  void take_value(const OptionEntry& entry, const std::string& spelled) {
    if (next_ == arguments_.size()) {
      return fail("option " + spelled + " needs a " + std::string(entry.value));
    }
    entry.apply(parsed_.options, arguments_[next_++]);
  }

  void check_combination() {
    const Options& options = parsed_.options;
    if (options.help || options.version) return;
    if (options.levels.empty()) return fail("no LEVEL given");
    if ((options.output || options.depfile) && options.levels.size() > 1) {
      return fail(std::string(options.output ? "--output" : "--depfile") + " takes one LEVEL only");
    }
    if (options.output && !options.output->ends_with(".lev")) {
      return fail("the --output file must end in .lev");
    }
    if (options.check && (options.output || options.depfile)) {
      return fail(std::string(options.output ? "--output" : "--depfile") +
                  " cannot be used with --check");
    }
    if (!options.check && (options.json || options.mask || options.strict)) {
      fail("--json, --mask and --strict need --check");
    }
  }

  void fail(std::string reason) { parsed_.error = std::move(reason); }

  const std::vector<std::string>& arguments_;
  std::size_t next_ = 0;
  ParsedArguments parsed_;
};

// The option as typed: "-y" and "--yes" joined by `separator`; "--depfile FILE".
std::string spelled_out(const OptionEntry& entry, std::string_view separator) {
  std::string text;
  if (entry.short_name != '\0') text = std::string{'-', entry.short_name} + std::string(separator);
  text.append("--").append(entry.name);
  if (!entry.value.empty()) text.append(" ").append(entry.value);
  return text;
}

// "-y, --yes", "    --depfile FILE": the option's column in the help.
std::string help_column(const OptionEntry& entry) {
  return (entry.short_name != '\0' ? "" : "    ") + spelled_out(entry, ", ");
}

}  // namespace

ParsedArguments parse_arguments(const std::vector<std::string>& arguments) {
  return Parser(arguments).parse();
}

std::string usage() {
  std::string text = "usage: zurconv";
  for (const OptionEntry& entry : kOptions) text += " [" + spelled_out(entry, "|") + "]";
  return text + " LEVEL...";
}

std::string option_help() {
  std::size_t width = 0;
  for (const OptionEntry& entry : kOptions) width = std::max(width, help_column(entry).size() + 2);
  std::string text;
  for (const OptionEntry& entry : kOptions) {
    std::string column = help_column(entry);
    std::string_view help = entry.help;
    for (std::size_t line_end; (line_end = help.find('\n')) != std::string_view::npos;) {
      column.resize(width, ' ');
      text += "  " + column + std::string(help.substr(0, line_end)) + "\n";
      help.remove_prefix(line_end + 1);
      column.clear();
    }
    column.resize(width, ' ');
    text += "  " + column + std::string(help) + "\n";
  }
  return text;
}

}  // namespace zur::cli
