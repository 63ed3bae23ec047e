// SPDX-License-Identifier: MIT
#include "zur/console.h"

#include "engine/base/platform.h"

namespace zur::console {
namespace {

platform::Stream platform_stream(Stream stream) {
  switch (stream) {
    case Stream::kIn:
      return platform::Stream::kIn;
    case Stream::kOut:
      return platform::Stream::kOut;
    case Stream::kErr:
      break;
  }
  return platform::Stream::kErr;
}

}  // namespace

bool is_terminal(Stream stream) {
  return platform::is_terminal(platform_stream(stream));
}

int terminal_columns(Stream stream) {
  return platform::terminal_columns(platform_stream(stream));
}

void prepare() {
  platform::prepare_console();
}

bool alone() {
  return platform::alone_in_console();
}

std::vector<std::string> expand_wildcards(const std::string& argument) {
  return platform::expand_wildcards(argument);
}

}  // namespace zur::console
