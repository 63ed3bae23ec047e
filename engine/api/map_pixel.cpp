// SPDX-License-Identifier: MIT
// Single pixels of a level's attribute map as the public interface offers
// them: the map found as the check finds it, each pixel classified as the
// conversion classifies it.
#include "zur/map_pixel.h"

#include "engine/attrmap/map_check.h"
#include "engine/attrmap/map_objects.h"
#include "engine/attrmap/map_pixels.h"
#include "engine/attrmap/row_classifier.h"
#include "engine/level/level_prefix.h"
#include "engine/level/source_files.h"

namespace zur {
namespace {

// The level's attribute map opened with its header read; false when it
// cannot be, or the conversion would not read its pixels.
bool open_map(std::string_view level, const CheckOptions& options, MapFile& map,
              MapHeader& header) {
  const FoundSources found =
      find_sources(level_from_argument(level, options.picked_configs), *options.system);
  const FoundSource& source = found[source::kAttributeMap];
  if (source.ambiguous() || !map.open(source.path).ok()) return false;
  const std::optional<MapHeaderFault> checked = check_map_header(map, header);
  return checked && checked->fault == tga::Fault::kNone;
}

}  // namespace

std::optional<MapPixel> inspect_pixel(std::string_view level, MapPlace place,
                                      const CheckOptions& options) {
  MapFile map(*options.system);
  MapHeader header;
  if (!open_map(level, options, map, header)) return std::nullopt;
  const std::optional<Rgb> colour = read_map_pixel(map, header, place);
  if (!colour) return std::nullopt;
  MapPixel pixel{place, *colour, std::nullopt, {}, false, std::nullopt, std::nullopt};
  const PixelClass classed = classify_pixel(*colour);
  if (!classed.legal) {
    pixel.illegal = true;
    pixel.nearest = nearest_palette_code(*colour);
    return pixel;
  }
  pixel.code = classed.code;
  pixel.group = report_group_name(kPalette[classed.code].group);
  if (const std::optional<ObjectRecord> object =
          marker_object(colour->red, colour->green, colour->blue)) {
    pixel.marker = MarkerInfo{object->kind, object->parameters};
  }
  return pixel;
}

std::optional<ColourPlaces> colour_places(std::string_view level, Rgb colour, std::size_t limit,
                                          const CheckOptions& options) {
  MapFile map(*options.system);
  MapHeader header;
  if (!open_map(level, options, map, header)) return std::nullopt;
  std::optional<FoundPlaces> found = find_colour_places(map, header, colour, limit);
  if (!found) return std::nullopt;
  return ColourPlaces{std::move(found->places), found->more};
}

}  // namespace zur
