// SPDX-License-Identifier: MIT
#include "engine/attrmap/map_pixels.h"

#include "engine/attrmap/row_source.h"

namespace zur {

std::optional<Rgb> read_map_pixel(MapBytes& map, const MapHeader& header, MapPlace place) {
  if (place.x < 0 || place.y < 0 || place.x >= header.width || place.y >= header.height) {
    return std::nullopt;
  }
  const auto stored =
      static_cast<std::uint64_t>(header.bottom_up ? header.height - 1 - place.y : place.y);
  const std::uint64_t offset = header.pixels_at + stored * header.row_bytes() +
                               static_cast<std::uint64_t>(place.x) * kBytesPerPixel;
  std::uint8_t pixel[kBytesPerPixel];
  if (!map.read_at(offset, pixel, kBytesPerPixel)) return std::nullopt;
  return Rgb{pixel[2], pixel[1], pixel[0]};
}

std::optional<FoundPlaces> find_colour_places(MapBytes& map, const MapHeader& header,
                                              const Rgb& colour, std::size_t limit) {
  FoundPlaces found;
  RowSource rows(header, map);
  if (!rows.ready()) return std::nullopt;
  for (std::int32_t y = 0; y < header.height; ++y) {
    const std::uint8_t* row = rows.next_row();
    if (row == nullptr) return std::nullopt;
    for (std::int32_t x = 0; x < header.width; ++x, row += kBytesPerPixel) {
      if (row[0] != colour.blue || row[1] != colour.green || row[2] != colour.red) continue;
      if (found.places.size() == limit) {
        found.more = true;
        return found;
      }
      found.places.push_back({x, y});
    }
  }
  return found;
}

}  // namespace zur
