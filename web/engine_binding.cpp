// SPDX-License-Identifier: MIT
// The engine as the page's worker calls it: list the levels among the
// files, check one, convert a batch as the dialog converts its field, read
// a level file and unpack it, hand over a file it wrote; inspect a pixel of
// a level's map, find the places of a colour, repair a map's illegal
// colours, and tell the palette and the marker colours. Paths are relative
// to the worker's working folder, where the page system (page_system.h)
// shows the dropped files under the names they were dropped with, so every
// message names them as zurconv would in that folder. Answers are JSON
// texts made by the same code as the commands' --json, valid until the
// next call (the worker copies them at once).
#include <emscripten.h>

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <vector>

#include "page_system.h"
#include "zur/check.h"
#include "zur/convert.h"
#include "zur/level_file.h"
#include "zur/map_pixel.h"
#include "zur/palette.h"
#include "zur/repair.h"

// The worker's side of the prompts (web/site/worker.js). clang-format reads
// these bodies as C++: they compare with == and !=, which it leaves whole.
EM_JS(void, zur_start_level, (const char* level), { Module["startLevel"](UTF8ToString(level)); });
EM_JS(void, zur_show_message, (const char* text, int icon),
      { Module["showMessage"](UTF8ToString(text), icon); });
EM_JS(void, zur_show_batch_failure, (const char* text),
      { Module["showBatchFailure"](UTF8ToString(text)); });
EM_JS(int, zur_ask, (const char* text, int question),
      { return Module["ask"](UTF8ToString(text), question) ? 1 : 0; });
EM_JS(void, zur_show_answered, (const char* text, int yes),
      { Module["showAnswered"](UTF8ToString(text), yes != 0); });
EM_JS(void, zur_progress, (int position), { Module["progress"](position); });
// A layer of the map view, by its name (web/site/worker.js): its step, or 0
// when it cannot be made.
EM_JS(unsigned, zur_view_open, (const char* layer, unsigned width, unsigned height),
      { return Module["viewOpen"](UTF8ToString(layer), width, height); });
EM_JS(void, zur_view_row, (const char* layer, const unsigned char* rgba, unsigned width),
      { Module["viewRow"](UTF8ToString(layer), HEAPU8.subarray(rgba, rgba + 4 * width)); });
EM_JS(int, zur_view_finish, (const char* layer),
      { return Module["viewFinish"](UTF8ToString(layer)) ? 1 : 0; });

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

// A written file handed to the worker (web/site/worker.js): its parts in
// order, views into the heap, then its end, when the worker makes them a
// Blob, which copies them, before they are freed.
EM_JS(void, zur_written_part, (const unsigned char* bytes, size_t count),
      { Module["writtenPart"](HEAPU8.subarray(bytes, bytes + count)); });
EM_JS(void, zur_written_end, (), { Module["writtenEnd"](); });

namespace {

using namespace zur;
using Json = nlohmann::ordered_json;

// The dialog's answers: the illegal colour question goes to the person,
// the statistics are shown without asking, the repair hint is declined as
// zurconv declines it. Every question is then told among the level's
// messages with its answer, as zurconv prints it: the conversion's success
// message and its warnings are the text of the statistics' question.
class PagePrompts : public UserPrompts {
 public:
  void show_message(const std::string& text, Icon icon) override {
    zur_show_message(text.c_str(), static_cast<int>(icon));
  }
  bool ask_yes_no(const std::string& text, Icon, Question question) override {
    const bool yes = answer(text, question);
    zur_show_answered(text.c_str(), yes ? 1 : 0);
    return yes;
  }
  void set_progress(int position) override { zur_progress(position); }
  // The page's bar moves during the pass over the map as the dialog's does.
  void keep_alive(double rows_done) override { zur_progress(progress_during_pass(rows_done)); }

 private:
  static bool answer(const std::string& text, Question question) {
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

// The system every call below hands the engine: the dropped files and what
// the engine writes, over the memory file system, which holds the folders
// written into. Made once, here.
WorkerFiles worker_files;
web::PageSystem page_system(platform::default_system(), worker_files);

// Which pixels of a layer are left transparent, for a layer drawn over
// another: none; the mask's legal pixels, the only grey ones (zur/check.h);
// the pixels a repair left as they were (zur/repair.h).
enum class Clear { kNone, kGrey, kUnchanged };

// A row sink that draws a layer of the worker's map view (web/site/worker.js),
// reduced by the step the worker chooses; the rows cross to JavaScript
// already in the canvas's RGBA order.
class ViewSink : public RowSink {
 public:
  explicit ViewSink(const char* layer, Clear clear = Clear::kNone) : layer_(layer), clear_(clear) {}
  std::uint32_t start(std::uint32_t width, std::uint32_t height) override {
    const std::uint32_t step = zur_view_open(layer_, width, height);
    if (step != 0) {
      view_row_.assign((width + step - 1) / step * 4, 255);
      rows_left_ = (height + step - 1) / step;
    }
    return step;
  }
  void row(const std::uint8_t* rgb) override {
    for (std::size_t out = 0; out < view_row_.size(); out += 4, rgb += 3) {
      std::copy_n(rgb, 3, view_row_.data() + out);
      view_row_[out + 3] = cleared(rgb) ? 0 : 255;
    }
    zur_view_row(layer_, view_row_.data(), static_cast<unsigned>(view_row_.size() / 4));
    --rows_left_;
  }
  bool finish() override { return rows_left_ == 0 && zur_view_finish(layer_) != 0; }

 private:
  bool cleared(const std::uint8_t* rgb) const {
    switch (clear_) {
      case Clear::kNone:
        break;
      case Clear::kGrey:
        return rgb[0] == rgb[1] && rgb[1] == rgb[2];
      case Clear::kUnchanged:
        return rgb[0] == kUnchangedColour.red && rgb[1] == kUnchangedColour.green &&
               rgb[2] == kUnchangedColour.blue;
    }
    return false;
  }

  const char* layer_;
  Clear clear_;
  std::uint32_t rows_left_ = 0;
  std::vector<std::uint8_t> view_row_;
};

Json rgb_json(const Rgb& colour) {
  return {colour.red, colour.green, colour.blue};
}

// The dropped files, as paths from the working folder.
std::vector<std::string> dropped_files() {
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
      } else {
        files.push_back(name);
      }
    }
  }
  return files;
}

std::string json_text(const Json& document) {
  return document.dump(2, ' ', false, Json::error_handler_t::replace);
}

// {"levels": the levels among the dropped files, sorted, "others": the
// dropped files that are no level's source nor a level file}.
std::string found() {
  const std::vector<std::string> files = dropped_files();
  return json_text({{"levels", find_levels(files)}, {"others", other_files(files)}});
}

// The options every call on a level's sources takes: a dropped config file
// names its level, as a picked one does.
CheckOptions level_options() {
  CheckOptions options;
  options.picked_configs = config_files(dropped_files());
  options.system = &page_system;
  return options;
}

// {"codes": the map's pixels by the code the level gets, "illegal": the
// illegal pixels}, or null when not every pixel could be read.
Json legend(const LevelCheck& check) {
  if (!check.findings || !check.map) return nullptr;
  const MapCheckFindings& findings = *check.findings;
  std::uint64_t counted = findings.illegal_pixels;
  for (const std::uint64_t pixels : findings.codes) counted += pixels;
  if (counted != std::uint64_t(check.map->width) * std::uint64_t(check.map->height)) return nullptr;
  return {{"codes", findings.codes}, {"illegal", findings.illegal_pixels}};
}

// {"report": as zurconv --check --json LEVEL prints it, "count": the line
// "LEVEL: N errors, M warnings" that ends the level in zurconv --check,
// "legend"}; the attributes and the mask's problems are drawn into the
// page's map view as two layers.
std::string check(const std::string& level) {
  ViewSink attributes("attributes"), problems("problems", Clear::kGrey);
  CheckOptions options = level_options();
  options.mask_rows = &problems;
  options.attribute_rows = &attributes;
  const LevelCheck result = check_level(level, options);
  std::string text = check_text(result, false);
  text.pop_back();  // the newline that ends the count
  return json_text({{"report", Json::parse(check_json({&result, 1}, false))},
                    {"count", text.substr(text.rfind('\n') + 1)},
                    {"legend", legend(result)}});
}

// What map pixel (x, y) of the level stands for: {"x", "y", "colour", "code",
// "group", "illegal", "nearest", "marker": {"kind", "bytes"}}, or null.
std::string inspect(const std::string& level, int x, int y) {
  const std::optional<MapPixel> pixel = inspect_pixel(level, {x, y}, level_options());
  if (!pixel) return "null";
  Json marker = nullptr;
  if (pixel->marker) marker = {{"kind", pixel->marker->kind}, {"bytes", pixel->marker->parameters}};
  return json_text({{"x", x},
                    {"y", y},
                    {"colour", rgb_json(pixel->colour)},
                    {"code", pixel->code ? Json(*pixel->code) : Json(nullptr)},
                    {"group", pixel->code ? Json(std::string(pixel->group)) : Json(nullptr)},
                    {"illegal", pixel->illegal},
                    {"nearest", pixel->nearest ? Json(*pixel->nearest) : Json(nullptr)},
                    {"marker", marker}});
}

// The page steps through at most this many places of a colour.
constexpr std::size_t kListedPlaces = 10000;

// {"places": [{"x", "y"}, ...], "more"}, or null when the map cannot be read.
std::string places(const std::string& level, int red, int green, int blue) {
  const Rgb colour{std::uint8_t(red), std::uint8_t(green), std::uint8_t(blue)};
  const std::optional<ColourPlaces> found =
      colour_places(level, colour, kListedPlaces, level_options());
  if (!found) return "null";
  Json list = Json::array();
  for (const MapPlace& place : found->places) list.push_back({{"x", place.x}, {"y", place.y}});
  return json_text({{"places", list}, {"more", found->more}});
}

// Repairs the level's map into `out`, drawing the copy and its changed
// pixels into the map view: {"repaired", "text", "error"}.
std::string repair(const std::string& level, const std::string& out) {
  ViewSink after("after"), changed("changed", Clear::kUnchanged);
  const RepairResult result = repair_colours(level, out, page_system, {&after, &changed});
  const bool ok = result.status.ok();
  return json_text({{"repaired", result.repaired},
                    {"text", ok ? Json(repair_text(result)) : Json(nullptr)},
                    {"error", ok ? Json(nullptr) : Json(result.status.text())}});
}

// {"codes": [{"code", "colour", "group"}], "markers": [{"kind", "blue",
// "shown"}]}.
std::string palette() {
  Json codes = Json::array(), markers = Json::array();
  for (const PaletteColour& colour : palette_colours()) {
    codes.push_back({{"code", colour.code},
                     {"colour", rgb_json(colour.colour)},
                     {"group", std::string(colour.group)}});
  }
  for (const MarkerKindColour& kind : marker_kind_colours()) {
    markers.push_back({{"kind", kind.kind}, {"blue", kind.blue}, {"shown", rgb_json(kind.shown)}});
  }
  return json_text({{"codes", codes}, {"markers", markers}});
}

// The marker colour for an object, [R, G, B] or null.
std::string compose(int kind, const std::array<std::uint8_t, 5>& bytes) {
  const std::optional<Rgb> colour = marker_colour(std::uint8_t(kind), bytes);
  return colour ? json_text(rgb_json(*colour)) : "null";
}

// The object a colour places, {"kind", "bytes"} or null.
std::string decompose(int red, int green, int blue) {
  const std::optional<MarkerInfo> marker =
      marker_of({std::uint8_t(red), std::uint8_t(green), std::uint8_t(blue)});
  if (!marker) return "null";
  return json_text({{"kind", marker->kind}, {"bytes", marker->parameters}});
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
  options.picked_configs = config_files(dropped_files());
  options.system = &page_system;
  return json_text(Json(convert_levels(levels, named, options).failed));
}

// As zurlev info --json FILE prints it.
std::string info(const std::string& file_name) {
  const LevelFileInfo info = read_level_info(file_name, false, page_system);
  return info_json({&info, 1}) + "\n";
}

// Unpacks into `folder`: {"written": [...], "problems": [...],
// "differences": [...], "error": TEXT or null}.
std::string unpack(const std::string& file_name, const std::string& folder) {
  UnpackOptions options;
  options.folder = folder;
  options.force = true;
  options.system = &page_system;
  const UnpackResult unpacked = unpack_level_file(file_name, options);
  return json_text({{"written", unpacked.written},
                    {"problems", unpacked.problems},
                    {"differences", unpacked.differences},
                    {"error", unpacked.failure ? Json(*unpacked.failure) : Json(nullptr)}});
}

// The picture of a dropped level file, drawn into the worker's map view as
// its one layer "image". Answers the objects to mark, [{"x", "y", "kind",
// "colour": [R, G, B] or null}], or null when the file has no picture.
std::string picture(const std::string& file_name) {
  ViewSink view("image");
  const std::optional<std::vector<ObjectMark>> marks =
      paint_level_file(file_name, view, page_system);
  if (!marks) return "null";
  Json list = Json::array();
  for (const ObjectMark& mark : *marks) {
    Json colour = nullptr;
    if (mark.colour) colour = {mark.colour->red, mark.colour->green, mark.colour->blue};
    list.push_back({{"x", mark.x},
                    {"y", mark.y},
                    {"kind", mark.kind},
                    {"parameters", mark.parameters},
                    {"colour", colour}});
  }
  return json_text(list);
}

// Hands the file written at `path` to the worker and forgets it: false when
// none was written there.
bool take(const std::string& path) {
  const std::shared_ptr<const web::WrittenFile> file = page_system.take_written(path);
  if (!file) return false;
  for (const std::span<const std::uint8_t> part : file->parts()) {
    zur_written_part(part.data(), part.size());
  }
  zur_written_end();
  return true;
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
EMSCRIPTEN_KEEPALIVE const char* zur_found() {
  return answered(found());
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
EMSCRIPTEN_KEEPALIVE const char* zur_unpack(const char* file, const char* folder) {
  return answered(unpack(file, folder));
}
EMSCRIPTEN_KEEPALIVE int zur_take(const char* path) {
  return take(path) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* zur_picture(const char* file) {
  return answered(picture(file));
}
EMSCRIPTEN_KEEPALIVE const char* zur_inspect(const char* level, int x, int y) {
  return answered(inspect(level, x, y));
}
EMSCRIPTEN_KEEPALIVE const char* zur_places(const char* level, int red, int green, int blue) {
  return answered(places(level, red, green, blue));
}
EMSCRIPTEN_KEEPALIVE const char* zur_repair(const char* level, const char* out) {
  return answered(repair(level, out));
}
EMSCRIPTEN_KEEPALIVE const char* zur_palette() {
  return answered(palette());
}
EMSCRIPTEN_KEEPALIVE const char* zur_compose(int kind, int byte0, int byte1, int byte2, int byte3,
                                             int byte4) {
  return answered(compose(kind, {std::uint8_t(byte0), std::uint8_t(byte1), std::uint8_t(byte2),
                                 std::uint8_t(byte3), std::uint8_t(byte4)}));
}
EMSCRIPTEN_KEEPALIVE const char* zur_decompose(int red, int green, int blue) {
  return answered(decompose(red, green, blue));
}
}
