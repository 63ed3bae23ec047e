// SPDX-License-Identifier: MIT
// Converting levels as the user named them: each one job, through the
// prompts a front end implements, with the batch's own policy (each level
// tried whatever the earlier ones gave, a failure summary at the end).
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "zur/error.h"
#include "zur/prompts.h"
#include "zur/system.h"

namespace zur {

// A level as messages name it: as typed, but an empty one as "", so that
// it stays visible.
std::string shown_level(std::string_view level);

// The items of a batch text (a dialog's field): split at every "|", white
// space trimmed from both ends of each item. Empty items are kept; an empty
// text is one item.
std::vector<std::string> split_batch(std::string_view text);

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
  // theirs takes its sources in that file's letter case.
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

// The levels among a set of file names (paths, as dropped or listed),
// sorted: each config file names one, and so does an attribute map without
// a config file, so that its missing config is reported. Names end in
// their suffix in any letter case.
std::vector<std::string> find_levels(std::span<const std::string> files);

// The config files among a set of file names.
std::vector<std::string> config_files(std::span<const std::string> files);

// The files among a set of file names that are neither a level's source
// nor a level file, by their suffix in any letter case, in their order.
std::vector<std::string> other_files(std::span<const std::string> files);

}  // namespace zur
