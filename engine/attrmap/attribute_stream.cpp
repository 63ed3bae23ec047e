#include "engine/attrmap/attribute_stream.h"

#include <cstdio>
#include <optional>

#include "engine/attrmap/palette.h"
#include "engine/attrmap/pixel_runs.h"
#include "engine/level/byte_order.h"

namespace zur {
namespace {

class IllegalColourPolicy {
 public:
  IllegalColourPolicy(WarningList& warnings, UserPrompts& prompts)
      : warnings_(warnings), prompts_(prompts) {}

  // Asks once per conversion, about the first illegal pixel met; true when
  // the conversion goes on with illegal colours as air.
  bool accept(Rgb colour, std::int32_t x, std::int32_t y) {
    if (asked_) return true;
    asked_ = true;
    warnings_.append(warning::kIllegalColours);
    char question[256];
    std::snprintf(question, sizeof question,
                  "Illegal color (red:%d, green:%d, blue:%d)\nat coordinates: x=%d y=%d\n"
                  "Do you want to continue anyway?\n(all illegal colors will be \"air\")",
                  colour.red, colour.green, colour.blue, x, y);
    return prompts_.ask_yes_no(question, Icon::None, Question::IllegalColour);
  }

 private:
  WarningList& warnings_;
  UserPrompts& prompts_;
  bool asked_ = false;
};

}  // namespace

void AttributePacker::add(std::uint8_t code, std::uint32_t pixels) {
  if (pending_ != code) {
    if (pending_ != kNoRun) write_run(static_cast<std::uint8_t>(pending_), run_length_);
    pending_ = code;
    run_length_ = 0;
  }
  stats_.histogram[code] += pixels;
  run_length_ += pixels;
  // A full run is written only once a further pixel arrives for it. Rare:
  // saying so keeps this function small enough to inline into the pixel loop.
  while (run_length_ > kMaxRunLength) {
    [[unlikely]] write_run(code, kMaxRunLength);
    run_length_ -= kMaxRunLength;
  }
}

void AttributePacker::finish() {
  if (pending_ != kNoRun) write_run(static_cast<std::uint8_t>(pending_), run_length_);
  out_.append(kEndToken.data(), kEndToken.size());
}

void AttributePacker::write_run(std::uint8_t code, std::uint32_t length) {
  // Made as one 16-bit value: a token stored byte by byte and then copied out
  // as a whole stalls every run on the store.
  std::uint8_t token[kRunTokenSize];
  put_le16(token, run_token(code, length));
  out_.append(token, sizeof token);
  stats_.packed += 2;
  stats_.unpacked += length;
}

ConversionResult pack_attribute_map(AttributeMap& map, LevelFile& out, WarningList& warnings,
                                    UserPrompts& prompts, PackStats& stats) {
  AttributePacker packer(out);
  IllegalColourPolicy illegal(warnings, prompts);
  for (std::int32_t y = 0; y < map.height; ++y) {
    const std::uint8_t* row = map.row(y);
    for (std::int32_t x = 0; x < map.width;) {
      const std::int32_t end = run_end(row, x, map.width);
      const std::uint8_t* pixel = pixel_at(row, x);
      const Rgb colour{pixel[2], pixel[1], pixel[0]};
      std::optional<std::uint8_t> code = classify_colour(colour);
      if (!code) {
        if (!illegal.accept(colour, x, y)) return ConversionResult::kIllegalColours;
        code = palette::kAir;
      }
      packer.add(*code, static_cast<std::uint32_t>(end - x));
      x = end;
    }
  }
  packer.finish();
  stats = packer.stats();
  return ConversionResult::kSuccess;
}

}  // namespace zur
