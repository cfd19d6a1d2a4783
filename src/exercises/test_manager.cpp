#include "exercises/test_manager.h"

#include <algorithm>
#include <cstdio>

#include "text/crc32.h"
#include "text/text_edits.h"
#include "platform/clock.h"
#include "platform/diagnostic_log.h"
#include "platform/errors.h"
#include "platform/random.h"
#include "resources/res_manager.h"

namespace vork {

namespace {

std::vector<std::string> ItemLinesOf(std::vector<std::string> lines) {
  // Only the comment lines at the top go; a "//" further down is an item.
  const auto first_item = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return !line.starts_with("//");
  });
  lines.erase(lines.begin(), first_item);
  Check(lines.size() <= static_cast<std::size_t>(TSa1TestManager::kMaxItems));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    lines[i] = ItemNumberText(static_cast<int>(i)) + "\t" + lines[i];
  }
  return lines;
}

std::vector<std::string> LevelTimesOf(std::string_view definitions) {
  std::string text(definitions);
  std::replace(text.begin(), text.end(), '/', '\n');
  return SplitLines(text);
}

}  // namespace

TSa1TestManager::TSa1TestManager(LineLoader loader) : loader_(std::move(loader)) {}

std::vector<std::string> TSa1TestManager::LoadResourceLines(std::string_view name) {
  std::vector<std::string> lines;
  ResManager().LoadStrings(lines, name);
  return lines;
}

bool TSa1TestManager::Setup(std::string_view item_resource, std::string_view state,
                            std::string_view level_definitions) {
  std::vector<std::string> item_lines = ItemLinesOf(loader_(item_resource));
  item_lines_ = std::move(item_lines);
  TakeState(item_resource, state);
  level_times_ = LevelTimesOf(level_definitions);
  const std::size_t levels = level_times_.size();
  if (levels < 1 || levels > static_cast<std::size_t>(kMaxLevels)) {
    error_text_ = kLevelError;
    return false;
  }
  top_level_ = static_cast<int>(levels) - 1;
  error_text_.clear();
  return true;
}

void TSa1TestManager::TakeState(std::string_view item_resource, std::string_view state) {
  StateCheck check = CheckState(state, item_lines_.size());
  state_notes_.clear();
  for (const std::string& problem : check.Problems()) {
    state_notes_.push_back("Test manager (" + std::string(item_resource) + "): dropped from the stored state: " + problem);
    DiagnosticLog(state_notes_.back());
  }
  state_ = TSa1ExpireItems(std::move(check.state));
}

std::string TSa1TestManager::DueTime(int level, std::int64_t now) const {
  Check(level >= 0 && static_cast<std::size_t>(level) < level_times_.size());
  const std::int64_t minutes = ParseInteger(level_times_[static_cast<std::size_t>(level)]);
  return FormatDueTime(now + minutes * 60);
}

const std::string& TSa1TestManager::ItemLineOf(int record) const {
  const int item = state_.ItemIndex(record);
  Check(static_cast<std::size_t>(item) < item_lines_.size());
  return item_lines_[static_cast<std::size_t>(item)];
}

void TSa1TestManager::SelectItems(int wanted, std::vector<std::string>& lines) const {
  lines.clear();
  if (wanted <= 0) return;
  const std::size_t limit = static_cast<std::size_t>(wanted);
  const std::string now = FormatDueTime(LocalWallClockSeconds());
  const int records = state_.Count();
  for (int level = 0; level <= top_level_ && lines.size() < limit; ++level) {
    // Records above the top level were made under longer level definitions;
    // they count as top-level items rather than waiting for ever.
    const auto at_this_level = [&](int record) {
      const int record_level = state_.Level(record);
      return record_level == level || (level == top_level_ && record_level > level);
    };
    std::vector<int> due;
    for (int record = 0; record < records && lines.size() + due.size() < limit; ++record) {
      if (at_this_level(record) && state_.DueTime(record) <= now) due.push_back(record);
    }
    if (level > 0) Random().Shuffle(due);
    for (int record : due) lines.push_back(ItemLineOf(record));
  }
  if (lines.size() >= limit) return;
  std::vector<bool> answered(item_lines_.size(), false);
  for (int record = 0; record < records; ++record) {
    const auto item = static_cast<std::size_t>(state_.ItemIndex(record));
    if (item < answered.size()) answered[item] = true;
  }
  for (std::size_t item : Random().Permutation(item_lines_.size())) {
    if (lines.size() >= limit) break;
    if (!answered[item]) lines.push_back(item_lines_[item]);
  }
}

void TSa1TestManager::RecordAnswer(std::string_view number, bool correct) {
  const int item = ParseItemNumber(number);
  Check(static_cast<std::size_t>(item) < item_lines_.size());
  const std::string key = ItemNumberText(item);
  const int record = state_.Find(key);
  const bool is_new = record < 0;
  int level = 0;
  if (correct) level = is_new ? top_level_ : std::min(state_.Level(record) + 1, top_level_);
  // Everything that can fail comes before the state changes, so that a bad
  // waiting time cannot lose the item's record.
  const std::string due = DueTime(level, LocalWallClockSeconds());
  if (!is_new) state_.Delete(record);
  state_.Prepend(key, level, due);
  last_was_new_ = is_new;
  last_level_ = level;
}

int TSa1TestManager::CountAtLevel(int level) const {
  int count = 0;
  for (int record = 0, records = state_.Count(); record < records; ++record) {
    if (state_.Level(record) == level) ++count;
  }
  return count;
}

std::string TSa1TestManager::StateKey(std::string_view item_resource,
                                      std::string_view suffix) const {
  std::string text;
  for (const std::string& line : loader_(item_resource)) {
    text += line;
    text += "\r\n";
  }
  char crc[16];
  std::snprintf(crc, sizeof crc, "%08X", static_cast<unsigned>(Crc32(text)));
  return std::string(item_resource) + "." + crc + "." + std::string(suffix);
}

}  // namespace vork
