// SPDX-License-Identifier: MIT
#include "engine/level/level_differences.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "engine/conversion/level_format.h"
#include "engine/level/problem.h"

namespace zur {
namespace {

class DifferenceFinder {
 public:
  explicit DifferenceFinder(LevelContents& level) : level_(level) {}

  void find() {
    take_settings_differences();
    if (level_.picture) check_sections();
    if (level_.stream) check_stream();
    check_map_size();
    check_objects();
  }

 private:
  void difference(std::uint64_t offset, std::string text) {
    level_.differences.push_back({offset, std::move(text)});
  }

  // Their offsets count from the record's start.
  void take_settings_differences() {
    for (Finding& finding : level_.settings.differences) {
      difference(level_format::kSettingsAt + finding.offset, std::move(finding.text));
    }
    level_.settings.differences.clear();
  }

  // The converter puts the level picture section right after the header, a
  // GGLEVEL level's map size into it, and with PARA no no parallax section.
  void check_sections() {
    using namespace level_format;
    if (level_.picture_at != kHeaderSize) {
      const std::uint64_t between = level_.picture_at - kHeaderSize;
      difference(kPictureOffsetAt, counted(between, "byte") +
                                       " between the header and the level picture section " +
                                       (between == 1 ? "is" : "are") + " not rebuilt");
    }
    if (level_.gg_level && level_.picture->size() != kMapSizeSectionSize) {
      difference(level_.picture_at,
                 "with GGLEVEL yes the level picture section holds the map's size in 4 bytes, "
                 "not " +
                     number(level_.picture->size()) + "; it is rebuilt so");
    }
    if (!level_.para && !level_.parallax->empty()) {
      difference(level_.parallax_at, "with PARA no the parallax section should be empty; its " +
                                         number(level_.parallax->size()) +
                                         " bytes are not rebuilt");
    }
  }

  // The converter makes no empty run and starts a run of the same code only
  // when the one before is full; the first of each is named, in stream order.
  void check_stream() {
    const StreamFacts& stream = *level_.stream;
    std::vector<Finding> runs;
    if (stream.empty_run_at) {
      runs.push_back({*stream.empty_run_at, " holds no pixel; the rebuilt stream has no such run"});
    }
    if (stream.split_run_at) {
      runs.push_back({*stream.split_run_at,
                      " continues the run before it, which this converter would have made "
                      "longer; the rebuilt stream packs the pixels into fewer runs"});
    }
    std::sort(runs.begin(), runs.end(),
              [](const Finding& a, const Finding& b) { return a.offset < b.offset; });
    for (Finding& run : runs) difference(run.offset, "the run at " + number(run.offset) + run.text);
  }

  // A width given by the user that the map size section does not say.
  void check_map_size() {
    if (!level_.size_section || !level_.map_size ||
        level_.map_size_source != MapSizeSource::kGiven) {
      return;
    }
    const MapSize& stored = *level_.size_section;
    const MapSize& rebuilt = *level_.map_size;
    if (stored.width != rebuilt.width || stored.height != rebuilt.height) {
      difference(level_.picture_at, "the map size section says " + size_text(stored) +
                                        "; the rebuilt one says " + size_text(rebuilt));
    }
  }

  // Whether a marker pixel can place each object again, as it is and where
  // it is, in the rebuilt map.
  void check_objects() {
    const PlacedObject* previous = nullptr;
    for (std::size_t i = 0; i < level_.objects.size(); ++i) {
      const PlacedObject& object = level_.objects[i];
      const std::string name = "object " + number(i + 1) + " at (" +
                               std::to_string(object.record.x) + ", " +
                               std::to_string(object.record.y) + ")";
      check_record(object, name);
      if (previous) check_order(*previous, object, name);
      previous = &object;
      if (level_.map_size) check_place(object, name, *level_.map_size);
    }
  }

  void check_record(const PlacedObject& object, const std::string& name) {
    if (!object.reserved_zero) {
      difference(object.offset,
                 name + ": its reserved bytes 14 to 19 are not zero; they are rebuilt as zeros");
    }
    const std::uint8_t kind = object.record.kind;
    if (!object.marker) {
      difference(object.offset,
                 name + ": kind " + number(kind) + " is no marker kind; the object is not rebuilt");
    } else if (!object.marker->exact) {
      difference(object.offset, name + ": no marker colour gives kind " + number(kind) +
                                    " these parameters; it is rebuilt with the nearest a marker "
                                    "gives");
    }
  }

  // The rebuilt section lists the objects in the order a pass meets them.
  void check_order(const PlacedObject& previous, const PlacedObject& object,
                   const std::string& name) {
    const ObjectRecord& a = previous.record;
    const ObjectRecord& b = object.record;
    if (std::pair(a.y, a.x) < std::pair(b.y, b.x)) return;
    difference(object.offset,
               name +
                   ": it does not follow the object before it in scan order; the rebuilt "
                   "section lists objects by row, then column" +
                   (a.x == b.x && a.y == b.y ? ", and only one object stands on a pixel" : ""));
  }

  void check_place(const PlacedObject& object, const std::string& name, MapSize size) {
    if (!on_map(object.record, size)) {
      difference(object.offset, name + ": it lies outside the " + size_text(size) +
                                    " map; no marker can place it");
      return;
    }
    if (!object.marker || !object.code_under) return;
    const std::uint8_t left = object.marker->marker->code_under(object.marker->colour.red);
    if (left != *object.code_under) {
      difference(object.offset, name + ": the stream gives its pixel attribute code " +
                                    number(*object.code_under) + ", but its marker leaves code " +
                                    number(left) + " there");
    }
  }

  LevelContents& level_;
};

}  // namespace

void add_differences(LevelContents& level) {
  DifferenceFinder(level).find();
}

}  // namespace zur
