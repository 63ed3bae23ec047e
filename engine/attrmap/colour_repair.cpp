// SPDX-License-Identifier: MIT
#include "engine/attrmap/colour_repair.h"

#include <algorithm>
#include <array>
#include <optional>
#include <system_error>
#include <vector>

#include "engine/attrmap/cell_picture.h"
#include "engine/attrmap/check_mask.h"
#include "engine/attrmap/map_check.h"
#include "engine/attrmap/row_classifier.h"
#include "engine/attrmap/row_source.h"
#include "engine/base/error.h"
#include "engine/base/output_file.h"

namespace zur {
namespace {

// A row's codes hold each pixel's palette code or one of these, none of which
// votes. A marker places an object and is no attribute colour, so the code
// it leaves under its object does not vote either.
constexpr std::uint8_t kIllegal = kNotInPalette;
constexpr std::uint8_t kMarker = kNotInPalette - 1;
constexpr std::uint8_t kOffMap = kNotInPalette - 2;
static_assert(kOffMap >= kAttributeCodes);
static_assert(
    [] {
      using palette_detail::colour_key;
      return std::none_of(kPalette.begin(), kPalette.end(), [](const PaletteEntry& entry) {
        return colour_key(entry.colour) == colour_key(kUnchangedColour);
      });
    }(),
    "an unchanged pixel would look repaired");

// The code an illegal pixel of `colour` takes from its neighbours' codes.
std::uint8_t repair_code(std::span<const std::uint8_t> neighbours, const Rgb& colour) {
  std::array<int, kAttributeCodes> votes{};
  for (const std::uint8_t code : neighbours) {
    if (code < kAttributeCodes) ++votes[code];
  }
  // The first of the most votes is the lowest code among them.
  const auto most = std::max_element(votes.begin(), votes.end());
  if (*most == 0) return nearest_palette_code(colour);
  return static_cast<std::uint8_t>(most - votes.begin());
}

// Bytes before and after the pixels are copied in blocks of this size.
constexpr std::size_t kCopyBlockBytes = std::size_t{64} << 10;

class MapRepairer {
 public:
  MapRepairer(MapBytes& map, const MapHeader& header, const tga::Sink& sink,
              const RepairPictures& pictures)
      : map_(map),
        header_(header),
        sink_(sink),
        rows_(header, map),
        width_(static_cast<std::size_t>(header.width)),
        no_row_(width_ + 2, kOffMap),
        after_(nullptr, pictures.after, header.width, header.height) {
    for (auto& codes : codes_) codes.assign(width_ + 2, kOffMap);
    for (auto& pixels : pixels_) pixels.resize(header.row_bytes());
    if (pictures.changed != nullptr &&
        !changed_.emplace(*pictures.changed, header.width, header.height).wanted()) {
      changed_.reset();
    }
  }

  MapRepair run() {
    if (!rows_.ready()) return {RepairFailure::kMemory, 0};
    const std::uint64_t pixels_end = header_.pixels_at + header_.pixel_count() * kBytesPerPixel;
    if (copy(0, header_.pixels_at) && repair_rows()) copy(pixels_end, map_.size());
    after_.finish();
    if (changed_) changed_->finish();
    return repair_;
  }

 private:
  bool fail(RepairFailure failure) {
    repair_.failure = failure;
    return false;
  }

  bool copy(std::uint64_t from, std::uint64_t end) {
    std::vector<std::uint8_t> block(
        static_cast<std::size_t>(std::min<std::uint64_t>(end - from, kCopyBlockBytes)));
    while (from < end) {
      const auto count =
          static_cast<std::size_t>(std::min<std::uint64_t>(end - from, block.size()));
      if (!map_.read_at(from, block.data(), count)) return fail(RepairFailure::kRead);
      if (!sink_(from, {block.data(), count})) return fail(RepairFailure::kWrite);
      from += count;
    }
    return true;
  }

  // Row y is repaired once row y + 1 is read, as its pixels vote too.
  bool repair_rows() {
    if (header_.height > 0 && !read_row(0)) return false;
    for (std::int32_t y = 0; y < header_.height; ++y) {
      if (y + 1 < header_.height && !read_row(y + 1)) return false;
      if (!write_row(y)) return false;
    }
    return true;
  }

  bool read_row(std::int32_t y) {
    const std::uint8_t* row = rows_.next_row();
    if (row == nullptr) return fail(RepairFailure::kRead);
    std::copy_n(row, header_.row_bytes(), pixels_[y % 2].data());
    std::uint8_t* codes = codes_[y % 3].data() + 1;
    bool illegal = false;
    classify_row(
        row, header_.width,
        [&](std::int32_t x, std::int32_t length, const Rgb&, const PixelClass& pixel) {
          const std::uint8_t code = pixel.marker ? kMarker : pixel.legal ? pixel.code : kIllegal;
          std::fill_n(codes + x, length, code);
          illegal = illegal || !pixel.legal;
        });
    has_illegal_[y % 3] = illegal;
    return true;
  }

  // The codes of row y, with a place off the map at each end.
  const std::uint8_t* codes_of(std::int32_t y) const {
    if (y < 0 || y >= header_.height) return no_row_.data();
    return codes_[y % 3].data();
  }

  bool write_row(std::int32_t y) {
    std::uint8_t* pixels = pixels_[y % 2].data();
    if (has_illegal_[y % 3]) {
      const std::uint8_t* above = codes_of(y - 1);
      const std::uint8_t* row = codes_of(y);
      const std::uint8_t* below = codes_of(y + 1);
      // Place i + 1 of a row of codes is pixel i.
      for (std::size_t x = 0; x < width_; ++x) {
        if (row[x + 1] != kIllegal) continue;
        const std::array<std::uint8_t, 8> neighbours = {above[x],     above[x + 1], above[x + 2],
                                                        row[x],       row[x + 2],   below[x],
                                                        below[x + 1], below[x + 2]};
        std::uint8_t* pixel = pixels + x * kBytesPerPixel;
        // No palette colour reads as a marker (row_classifier.h asserts it),
        // so a repair never places an object.
        const Rgb& colour =
            kPalette[repair_code(neighbours, {pixel[2], pixel[1], pixel[0]})].colour;
        pixel[0] = colour.blue;
        pixel[1] = colour.green;
        pixel[2] = colour.red;
        ++repair_.repaired;
      }
    }
    after_.row(pixels);
    if (changed_) paint_changed(y, pixels);
    const auto stored = static_cast<std::uint64_t>(header_.bottom_up ? header_.height - 1 - y : y);
    const std::uint64_t offset = header_.pixels_at + stored * header_.row_bytes();
    if (!sink_(offset, {pixels, header_.row_bytes()})) return fail(RepairFailure::kWrite);
    return true;
  }

  // Row y's repaired pixels in their new colour, runs of the others in
  // kUnchangedColour.
  void paint_changed(std::int32_t y, const std::uint8_t* pixels) {
    const std::uint8_t* codes = codes_of(y) + 1;
    const bool illegal = has_illegal_[y % 3];
    for (std::size_t x = 0; x < width_;) {
      if (illegal && codes[x] == kIllegal) {
        const std::uint8_t* pixel = pixels + x * kBytesPerPixel;
        changed_->run(std::int32_t(x), 1, {pixel[2], pixel[1], pixel[0]}, true);
        ++x;
        continue;
      }
      std::size_t end = x + 1;
      while (end < width_ && !(illegal && codes[end] == kIllegal)) ++end;
      changed_->run(std::int32_t(x), std::int32_t(end - x), kUnchangedColour, false);
      x = end;
    }
    changed_->end_row();
  }

  MapBytes& map_;
  const MapHeader header_;
  const tga::Sink& sink_;
  RowSource rows_;
  const std::size_t width_;
  const std::vector<std::uint8_t> no_row_;
  // Rows y - 1, y and y + 1 by y % 3; the source's pixels of rows y and
  // y + 1 by y % 2.
  std::array<std::vector<std::uint8_t>, 3> codes_;
  std::array<bool, 3> has_illegal_{};
  std::array<std::vector<std::uint8_t>, 2> pixels_;
  CheckPictures after_;
  std::optional<CellPicture> changed_;
  MapRepair repair_;
};

}  // namespace

MapRepair repair_map(MapBytes& map, const MapHeader& header, const tga::Sink& sink,
                     const RepairPictures& pictures) {
  return MapRepairer(map, header, sink, pictures).run();
}

RepairResult repair_map_file(const std::string& path, const std::string& out,
                             std::span<const std::string> others, platform::System& system,
                             const RepairPictures& pictures) {
  RepairResult result{path, out, 0, {}};
  MapFile map(system);
  if (!(result.status = map.open(path)).ok()) return result;
  MapHeader header;
  const std::optional<MapHeaderFault> checked = check_map_header(map, header);
  if (!checked) {
    result.status = Error{"cannot read", path, "its header could not be read", {}, {}};
    return result;
  }
  if (checked->fault != tga::Fault::kNone) {
    result.status = Error{"cannot repair", path, checked->text, {}, {}};
    return result;
  }
  OutputFile file(system);
  if (!(result.status = file.open(out, others)).ok()) return result;
  const MapRepair repair = repair_map(
      map, header,
      [&](std::uint64_t offset, std::span<const std::uint8_t> bytes) {
        file.write_at(offset, bytes.data(), bytes.size());
        return !file.failed();
      },
      pictures);
  result.repaired = repair.repaired;
  switch (repair.failure) {
    case RepairFailure::kMemory:
      result.status =
          system_error("cannot read", path, std::make_error_code(std::errc::not_enough_memory));
      break;
    case RepairFailure::kRead:
      result.status = Error{"cannot read", path, "its pixels could not be read", {}, {}};
      break;
    case RepairFailure::kNone:
    case RepairFailure::kWrite:
      result.status = file.commit();
      break;
  }
  return result;
}

}  // namespace zur
