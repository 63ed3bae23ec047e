// SPDX-License-Identifier: MIT
// The engine as the page's worker calls it: list the levels among the
// files, check one, convert a batch as the dialog converts its field, read
// a level file and unpack it. Paths are relative to the worker's working
// folder, where the page system (page_system.h) shows the dropped files
// under the names they were dropped with, so every message names them as
// zurconv would in that folder. Answers are JSON texts made by the same
// code as the commands' --json, valid until the next call (the worker
// copies them at once).
#include <emscripten.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/check_command.h"
#include "cli/level_info.h"
#include "engine/base/platform.h"
#include "engine/level/front_end.h"
#include "web/page_system.h"

// The worker's side of the prompts (web/site/worker.js).
EM_JS(void, zur_start_level, (const char* level), { Module["startLevel"](UTF8ToString(level)); });
EM_JS(void, zur_show_message, (const char* text, int icon),
      { Module["showMessage"](UTF8ToString(text), icon); });
EM_JS(void, zur_show_batch_failure, (const char* text),
      { Module["showBatchFailure"](UTF8ToString(text)); });
EM_JS(int, zur_ask, (const char* text, int question),
      { return Module["ask"](UTF8ToString(text), question) ? 1 : 0; });
EM_JS(void, zur_progress, (int position), { Module["progress"](position); });

// The worker's table of the dropped files (web/site/dropped-files.js). The
// paths come as one text, a zero byte between two; its length is answered,
// the text written only where it fits with a zero byte after it.
EM_JS(int, zur_find_dropped, (const char* path, double* found), {
  const file = Module["findFile"](UTF8ToString(path));
  if (!file) return 0;
  HEAPF64[found >> 3] = file.identity;
  HEAPF64[(found >> 3) + 1] = file.size;
  return 1;
});
EM_JS(int, zur_dropped_paths, (char* into, int capacity), {
  const paths = Module["droppedPaths"]().join(String.fromCharCode(0));
  const length = lengthBytesUTF8(paths);
  if (length < capacity) stringToUTF8(paths, into, capacity);
  return length;
});
EM_JS(unsigned, zur_open_dropped, (const char* path),
      { return Module["openFile"](UTF8ToString(path)); });
EM_JS(double, zur_read_dropped, (unsigned file, double offset, unsigned char* into, size_t count),
      { return Module["readFile"](file, offset, HEAPU8.subarray(into, into + count)); });
EM_JS(void, zur_close_dropped, (unsigned file), { Module["closeFile"](file); });

namespace {

using namespace zur;
using cli::Json;

// The dialog's answers: the illegal colour question goes to the person,
// the statistics are shown without asking, the repair hint is declined as
// zurconv declines it.
class PagePrompts : public UserPrompts {
 public:
  void show_message(const std::string& text, Icon icon) override {
    zur_show_message(text.c_str(), static_cast<int>(icon));
  }
  bool ask_yes_no(const std::string& text, Icon, Question question) override {
    switch (question) {
      case Question::IllegalColour:
        return zur_ask(text.c_str(), static_cast<int>(question)) != 0;
      case Question::ConversionInfo:
        return true;
      case Question::RepairHint:
        return false;
    }
    return false;
  }
  void set_progress(int position) override { zur_progress(position); }
  // The page's bar moves during the pass over the map as the dialog's does.
  void keep_alive(double rows_done) override { zur_progress(progress_during_pass(rows_done)); }
};

// The batch as the dialog names its levels; the page is told which level
// the messages that follow belong to, and shows the batch's own failures
// apart from any level.
class PageBatchPrompts : public LevelNamingPrompts {
 public:
  explicit PageBatchPrompts(UserPrompts& shown) : LevelNamingPrompts(shown) {}
  void start_level(const std::string& level, std::size_t place, std::size_t count) override {
    zur_start_level(level.c_str());
    LevelNamingPrompts::start_level(level, place, count);
  }
  void show_batch_failure(const std::string& text) override {
    zur_show_batch_failure(text.c_str());
  }
};

// The dropped files as the worker holds them.
class WorkerFiles final : public web::DroppedFiles {
 public:
  std::vector<std::string> paths() override {
    std::string joined(static_cast<std::size_t>(zur_dropped_paths(nullptr, 0)), '\0');
    zur_dropped_paths(joined.data(), static_cast<int>(joined.size()) + 1);
    std::vector<std::string> paths;
    for (std::size_t start = 0; start < joined.size();) {
      const std::size_t end = std::min(joined.find('\0', start), joined.size());
      paths.push_back(joined.substr(start, end - start));
      start = end + 1;
    }
    return paths;
  }
  std::optional<Found> find(const std::string& path) override {
    double found[2];
    if (!zur_find_dropped(path.c_str(), found)) return std::nullopt;
    return Found{static_cast<std::uint64_t>(found[0]), static_cast<std::uint64_t>(found[1])};
  }
  std::uint32_t open(const std::string& path) override { return zur_open_dropped(path.c_str()); }
  std::optional<std::size_t> read(std::uint32_t file, std::uint64_t offset, void* into,
                                  std::size_t count) override {
    const double got = zur_read_dropped(file, static_cast<double>(offset),
                                        static_cast<unsigned char*>(into), count);
    if (got < 0) return std::nullopt;
    return static_cast<std::size_t>(got);
  }
  void close(std::uint32_t file) override { zur_close_dropped(file); }
};

// The system every call below works with: the dropped files over the
// memory file system, which takes what the engine writes. Made and put in
// place once, here.
WorkerFiles worker_files;
web::PageSystem page_system(platform::current_system(), worker_files);
const platform::SystemOverride page_system_installed(page_system);

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return lower(x) == lower(y); });
}

bool has_suffix(const std::string& name, std::string_view suffix) {
  return name.size() > suffix.size() &&
         equal_ignoring_case(std::string_view(name).substr(name.size() - suffix.size()), suffix);
}

std::string without(const std::string& name, std::string_view suffix) {
  return name.substr(0, name.size() - suffix.size());
}

// The files under the working folder whose names end in `suffix` in any
// letter case.
std::vector<std::string> dropped_files(std::string_view suffix) {
  std::vector<std::string> files;
  std::vector<std::string> folders = {""};
  while (!folders.empty()) {
    const std::string folder = std::move(folders.back());
    folders.pop_back();
    std::vector<platform::FolderEntry> entries;
    page_system.folder_entries(folder.empty() ? "." : folder, entries);
    for (const platform::FolderEntry& entry : entries) {
      const std::string name = folder.empty() ? entry.name : folder + "/" + entry.name;
      if (entry.folder) {
        folders.push_back(name);
      } else if (has_suffix(name, suffix)) {
        files.push_back(name);
      }
    }
  }
  return files;
}

// The prefixes of the levels under the working folder, sorted: each config
// file names one, and so does an attribute map without a config file, so
// that its missing config is reported.
std::string level_names() {
  std::vector<std::string> configs, maps;
  for (const std::string& name : dropped_files(suffix::kConfig)) {
    configs.push_back(without(name, suffix::kConfig));
  }
  for (const std::string& name : dropped_files(suffix::kAttributeMap)) {
    maps.push_back(without(name, suffix::kAttributeMap));
  }
  std::vector<std::string> levels = configs;
  for (const std::string& map : maps) {
    const bool named = std::any_of(configs.begin(), configs.end(), [&](const std::string& config) {
      return equal_ignoring_case(config, map);
    });
    if (!named) levels.push_back(map);
  }
  std::sort(levels.begin(), levels.end());
  return cli::json_text(Json(levels));
}

// As zurconv --check --json LEVEL prints it; the mask's rows go to the
// page's map view, so its file is left out.
std::string check(const std::string& level) {
  // A dropped config file names its level, as a picked one does.
  LevelCheck result = check_level(level_from_argument(level, dropped_files(suffix::kConfig)), true);
  if (!result.mask.empty()) page_system.remove_file(result.mask);
  result.mask.clear();
  return cli::check_json({result}, false);
}

// As the dialog converts the levels of its field, the levels given one a
// line (a name may hold "|", which the field splits at); each level file is
// written beside its sources. Returns the levels that failed.
std::string convert(const std::string& batch) {
  std::vector<std::string> levels;
  for (std::size_t start = 0; start <= batch.size();) {
    const std::size_t end = std::min(batch.find('\n', start), batch.size());
    levels.push_back(batch.substr(start, end - start));
    start = end + 1;
  }
  PagePrompts prompts;
  PageBatchPrompts named(prompts);
  BatchOptions options;
  options.picked_configs = dropped_files(suffix::kConfig);
  return cli::json_text(Json(convert_levels(levels, named, options).failed));
}

// As zurlev info --json FILE prints it.
std::string info(const std::string& file_name) {
  MappedFile file;
  Json document;
  if (const std::optional<Error> error = file.open(file_name)) {
    document = {{"file", file_name}, {"error", error->text()}};
  } else {
    document = cli::level_info(file_name, read_level(file.bytes()), false);
  }
  return cli::json_text(Json::array({document})) + "\n";
}

// Unpacks into `prefix`'s files: {"written": [...], "differences": [...],
// "error": TEXT or null}.
std::string unpack(const std::string& file_name, const std::string& prefix) {
  MappedFile file;
  Json answer = {{"written", Json::array()}, {"differences", Json::array()}, {"error", nullptr}};
  if (const std::optional<Error> error = file.open(file_name)) {
    answer["error"] = error->text();
    return cli::json_text(answer);
  }
  const LevelContents contents = read_level(file.bytes());
  for (const Finding& finding : contents.problems) answer["error"] = finding.text;
  if (contents.problems.empty() && !contents.map_size) {
    answer["error"] = "the map's width is not known";
  }
  if (!answer["error"].is_null()) return cli::json_text(answer);
  const Unpacked unpacked = unpack_level(file.bytes(), contents, prefix, true, file_name);
  if (unpacked.error) answer["error"] = unpacked.error->text();
  answer["written"] = unpacked.written;
  for (const Finding& finding : contents.differences) answer["differences"].push_back(finding.text);
  return cli::json_text(answer);
}

// Plain C functions for ccall: the page's Content-Security-Policy allows no
// code made at run time, which the richer bindings would need.
std::string answer;
const char* answered(std::string text) {
  answer = std::move(text);
  return answer.c_str();
}

}  // namespace

extern "C" {
EMSCRIPTEN_KEEPALIVE const char* zur_level_names() {
  return answered(level_names());
}
EMSCRIPTEN_KEEPALIVE const char* zur_check(const char* level) {
  return answered(check(level));
}
EMSCRIPTEN_KEEPALIVE const char* zur_convert(const char* batch) {
  return answered(convert(batch));
}
EMSCRIPTEN_KEEPALIVE const char* zur_info(const char* file) {
  return answered(info(file));
}
EMSCRIPTEN_KEEPALIVE const char* zur_unpack(const char* file, const char* prefix) {
  return answered(unpack(file, prefix));
}
}

// The picture of a dropped level file, drawn by the PNG writer into the
// worker's map view as the check's mask is. Answers the objects to mark,
// [{"x", "y", "kind", "colour": [R, G, B] or null}], or null when the file
// has no picture.
namespace {

std::string level_picture(const std::string& file_name) {
  MappedFile file;
  if (file.open(file_name)) return "null";
  const LevelContents contents = read_level(file.bytes());
  if (!encode_level_picture(file.bytes(), contents, {})) return "null";
  Json marks = Json::array();
  for (const ObjectMark& mark : object_marks(contents)) {
    Json colour = nullptr;
    if (mark.colour) colour = {mark.colour->red, mark.colour->green, mark.colour->blue};
    marks.push_back({{"x", mark.x}, {"y", mark.y}, {"kind", mark.kind}, {"colour", colour}});
  }
  return cli::json_text(marks);
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE const char* zur_picture(const char* file) {
  return answered(level_picture(file));
}
