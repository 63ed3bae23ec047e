// SPDX-License-Identifier: MIT
#include "engine/level/config_grammar.h"

#include <algorithm>

#include "engine/base/ascii.h"
#include "engine/conversion/settings.h"

namespace zur::config_grammar {

LineReader::LineReader(NextBlock next_block) : next_block_(std::move(next_block)) {
  line_.reserve(kept_limit());
}

LineReader::LineReader(std::string_view text)
    : LineReader([text]() mutable { return Block{std::exchange(text, {})}; }) {}

Line LineReader::next() {
  line_.clear();
  length_ = 0;
  hole_skipped_ = std::exchange(hole_in_next_line_, false);
  for (;;) {
    if (block_.bytes.empty()) block_ = next_block_();
    std::string_view& bytes = block_.bytes;
    if (bytes.empty()) return finish(true);
    const std::size_t feed = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, feed);
    if (!piece.empty()) last_ = piece.back();
    length_ += piece.size();
    keep(piece);
    bytes.remove_prefix(feed == std::string_view::npos ? bytes.size() : feed + 1);
    // A hole holds no line feed: it belongs to the line that goes on past the block.
    if (bytes.empty() && std::exchange(block_.hole_after, false)) {
      (feed == std::string_view::npos ? hole_skipped_ : hole_in_next_line_) = true;
    }
    if (feed != std::string_view::npos) return finish(false);
  }
}

// One character more than a line keeps, to see a carriage return that ends
// a line of exactly kMaxConfigLine characters; the first line also has room
// for the byte order mark.
std::size_t LineReader::kept_limit() const {
  return kMaxConfigLine + 1 + (first_line_ ? kUtf8ByteOrderMark.size() : 0);
}

void LineReader::keep(std::string_view piece) {
  const std::size_t room = kept_limit() - std::min(kept_limit(), line_.size());
  line_.append(piece.substr(0, room));
}

Line LineReader::finish(bool ended) {
  std::string_view line = line_;
  if (first_line_ && line.starts_with(kUtf8ByteOrderMark)) {
    line.remove_prefix(kUtf8ByteOrderMark.size());
    length_ -= kUtf8ByteOrderMark.size();
  }
  first_line_ = false;
  if (!ended && length_ > 0 && last_ == '\r') {
    --length_;
    if (line.size() > length_) line.remove_suffix(1);
  }
  return {line.substr(0, kMaxConfigLine), length_, ended, hole_skipped_};
}

// The file delivers one block of zeros of a long hole and skips the rest,
// so a full block of zeros may be followed by more zeros never read.
Block ConfigFileLines::next_block() {
  const std::optional<std::size_t> got = file_.read_text_block(block_.data(), block_.size());
  if (!got) failed_ = true;
  const std::string_view bytes(block_.data(), got.value_or(0));
  const bool zeros = bytes.size() == block_.size() &&
                     std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
  return {bytes, zeros};
}

std::optional<std::size_t> match_keyword(std::string_view name) {
  for (std::size_t i = 0; i < kKeywords.size(); ++i) {
    if (equal_ignoring_case(name, kKeywords[i].name)) return i;
  }
  return std::nullopt;
}

ClassifiedLine LineClassifier::next() {
  ClassifiedLine classified{lines_.next(), ++number_};
  const Line& line = classified.line;
  const bool slash = line.text.starts_with('/');
  if (value_due_) {
    // A value line is taken whatever it holds, "/" included; an empty one
    // ends the reading.
    classified.keyword = *std::exchange(value_due_, std::nullopt);
    if (line.text.empty()) {
      classified.role = line.ended_file ? LineRole::kNoValue : LineRole::kEmptyValue;
    } else {
      classified.role = LineRole::kValue;
    }
    classified.last = classified.role != LineRole::kValue || line.ended_file;
    return classified;
  }
  const std::optional<std::size_t> keyword =
      slash ? match_keyword(line.text.substr(1)) : std::nullopt;
  if (line.ended_file) {
    // A last line without a line feed is not looked at as a keyword line.
    classified.role = keyword ? LineRole::kKeywordAtEnd : LineRole::kEnd;
    classified.keyword = keyword.value_or(0);
    classified.last = true;
  } else if (!slash) {
    classified.role = LineRole::kComment;
  } else if (!keyword) {
    classified.role = LineRole::kUnknownKeyword;
  } else {
    classified.role = LineRole::kKeyword;
    classified.keyword = *keyword;
    value_due_ = keyword;
  }
  return classified;
}

}  // namespace zur::config_grammar
