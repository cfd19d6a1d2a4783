#pragma once
// TSa1TestManager: schedules the repetition of test items in levels, like a
// card box. A right answer moves an item up one level (an item known at first
// sight goes straight to the top level), a wrong one back to level 0; each
// level has a waiting time in minutes before the item is due again. The whole
// schedule is one string (TSa1ExpireItems) that the course stores itself.
//
// Due times are local calendar times from LocalWallClockSeconds (clock.h);
// random choices come from the program's one generator (random.h).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "exercises/expire_items.h"

namespace vork {

class TSa1TestManager {
 public:
  // Gives the lines of a text resource; the player's loader reads them
  // through the resource manager, tests hand in their own.
  using LineLoader = std::function<std::vector<std::string>(std::string_view name)>;

  static constexpr int kMaxItems = 65536;  // item numbers have 4 hex digits
  static constexpr int kMaxLevels = 10;    // a level is one decimal digit
  static constexpr std::string_view kLevelError =
      "LevelDefs must contain between 1 and 10 definitions";

  explicit TSa1TestManager(LineLoader loader = LoadResourceLines);

  // Loads the items, takes the state and the level waiting times ("5/60/1440"
  // gives three levels). Damaged records of a stored state are dropped one
  // by one (CheckState), each with a line in the diagnostic log and in
  // StateNotes; the good ones are kept. Answers false, with ErrorText set,
  // when there are not 1 to 10 levels.
  bool Setup(std::string_view item_resource, std::string_view state,
             std::string_view level_definitions);
  // Fills lines with up to `wanted` item lines for the next test: due items
  // by level (level 0 most recently answered first, higher levels shuffled),
  // then never-answered items at random.
  void SelectItems(int wanted, std::vector<std::string>& lines) const;
  void RecordAnswer(std::string_view number, bool correct);
  const std::string& State() const { return state_.Text(); }
  int CountAtLevel(int level) const;
  // The resource name, ".", the CRC-32 of the resource's lines (each ended by
  // CR LF) as 8 upper-case hex digits, ".", suffix: the setting a course
  // keeps its state under, so that an edited item list starts afresh.
  std::string StateKey(std::string_view item_resource, std::string_view suffix) const;

  bool LastWasNew() const { return last_was_new_; }
  int LastLevel() const { return last_level_; }
  const std::string& ErrorText() const { return error_text_; }
  // What the last Setup dropped from the stored state, one line a record.
  const std::vector<std::string>& StateNotes() const { return state_notes_; }
  int TopLevel() const { return top_level_; }
  const std::vector<std::string>& ItemLines() const { return item_lines_; }

  static std::vector<std::string> LoadResourceLines(std::string_view name);

 private:
  // now + the level's waiting time, as a record writes it.
  std::string DueTime(int level, std::int64_t now) const;
  const std::string& ItemLineOf(int record) const;
  void TakeState(std::string_view item_resource, std::string_view state);

  LineLoader loader_;
  std::vector<std::string> item_lines_;
  TSa1ExpireItems state_;
  std::vector<std::string> level_times_;
  int top_level_ = 0;
  bool last_was_new_ = false;
  std::string error_text_;
  std::vector<std::string> state_notes_;
  int last_level_ = -1;
};

}  // namespace vork
