// SPDX-License-Identifier: MIT
// What every front end of the converter does, and the one engine header a
// front end includes: convert levels as the user typed them, check their
// sources, read a level file, paint its picture and unpack it, and the user
// prompts the engine talks through. It assumes no terminal and no toolkit: how a front
// end prints, draws or asks is its own; the few calls for a console are
// there for the front ends that run in one.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/attrmap/palette.h"
#include "engine/attrmap/tga.h"
#include "engine/base/clock.h"
#include "engine/base/error.h"
#include "engine/base/path_syntax.h"
#include "engine/base/platform.h"
#include "engine/conversion/level_format.h"
#include "engine/conversion/prompts.h"
#include "engine/level/level_check.h"
#include "engine/level/level_picture.h"
#include "engine/level/level_prefix.h"
#include "engine/level/level_reader.h"
#include "engine/level/level_unpacker.h"
#include "engine/level/mapped_file.h"
#include "engine/level/problem.h"

namespace zur {

// ---- Naming levels

// A level as messages name it: as typed, but an empty one as "", so that
// it stays visible.
std::string shown_level(std::string_view level);

// The items of a batch text (a dialog's field): split at every "|", white
// space trimmed from both ends of each item. Empty items are kept; an empty
// text is one item.
std::vector<std::string> split_batch(std::string_view text);

// ---- Converting levels

// The prompts a batch of levels is shown through: the engine's prompts,
// told which level the prompts that follow are about, and shown the
// failures of the batch itself.
class BatchPrompts : public UserPrompts {
 public:
  // Before each level's job: the level as typed, and its place (from 1)
  // among `count` levels.
  virtual void start_level(const std::string& level, std::size_t place, std::size_t count) = 0;
  // A failure of the batch, not of one job's conversion: the summary "N of
  // M levels failed: A, B", or a depfile that cannot be written.
  virtual void show_batch_failure(const std::string& text) = 0;
};

// In a batch of more than one level, every question and every error
// message it passes on starts with a line naming its level ("LEVEL:"); a
// single level's texts pass as the engine gives them. The batch's failures
// are error messages.
class LevelNamingPrompts : public BatchPrompts {
 public:
  explicit LevelNamingPrompts(UserPrompts& shown) : shown_(shown) {}

  void start_level(const std::string& level, std::size_t place, std::size_t count) override;
  void show_batch_failure(const std::string& text) override;
  void show_message(const std::string& text, Icon icon) override;
  void show_failure(const std::string& text, Icon icon, std::span<const Error> reasons) override;
  bool ask_yes_no(const std::string& text, Icon icon, Question question) override;
  void set_progress(int position) override;
  void keep_alive(double rows_done) override;

 private:
  UserPrompts& shown_;
  std::string line_;  // "LEVEL:\n" in a batch, else empty
};

// How a batch takes its levels, and where the level file and the depfile
// of a batch of one level go.
struct BatchOptions {
  std::optional<std::string> level_file;  // instead of LEVEL.lev beside the sources
  // A Make rule naming the level file and the sources it was made from,
  // written after a successful conversion. A depfile path that may not be
  // written stops the batch before anything is converted.
  std::optional<std::string> depfile;
  // Config files the user picked or dropped: a level whose prefix is one of
  // theirs takes its sources in that file's letter case (level_prefix.h).
  std::vector<std::string> picked_configs;
  // What the levels' files are read and written through; never null.
  platform::System* system = &platform::default_system();
};

// The levels that failed, as typed, in order.
struct BatchResult {
  std::vector<std::string> failed;
};

// Converts every level, each as typed being one job (a final ".txt" in any
// letter case dropped), in order, whatever the earlier ones gave. Each job
// shows its result's message, with the system's reasons for a failure that
// has them; a batch of more than one level in which any failed ends with
// the summary "N of M levels failed: A, B". The level file and depfile of
// `options` are for a batch of one level.
BatchResult convert_levels(std::span<const std::string> levels, BatchPrompts& prompts,
                           const BatchOptions& options = {});

// Where the progress bar stands during the pass over an attribute map, for
// the keep-alive's share of rows done.
int progress_during_pass(double rows_done);

// ---- Level files

// The prefix the sources of the level file `level` are unpacked under: its
// name without ".lev" (in any letter case), in `folder`, or beside it when
// `folder` is empty.
std::string unpack_prefix(const std::string& level, const std::string& folder);

// ---- For front ends that run in a console

namespace console {

enum class Stream { kIn, kOut, kErr };

bool is_terminal(Stream stream);
// Columns of the terminal or console `stream` shows in; 0 when unknown.
int terminal_columns(Stream stream);
// Readies the console for UTF-8 text; nothing on POSIX.
void prepare();
// True when this program is the only one in its console, as when started
// from a file manager.
bool alone();
// The files a command-line argument names: Windows' shells leave wildcards
// to the program; elsewhere the argument itself.
std::vector<std::string> expand_wildcards(const std::string& argument);

}  // namespace console

}  // namespace zur
