#pragma once
// TSa1ExpireItems: the test manager's whole state as one string that courses
// keep in a user setting. It is a run of 20-byte records, newest first:
//   "/"  item number (4 upper-case hex digits)  level ("0"…"9")  due time
//   ("yyyymmddhhnnss", local time)
// with at most one record per item. An item without a record was never
// answered.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

class TSa1ExpireItems {
 public:
  static constexpr std::size_t kRecordLength = 20;
  static constexpr std::size_t kNumberLength = 4;
  static constexpr std::size_t kDueTimeLength = 14;
  static constexpr int kMaxLevel = 9;

  TSa1ExpireItems() = default;
  // Takes the text as it is; the accessors check the records they read.
  explicit TSa1ExpireItems(std::string text) : text_(std::move(text)) {}

  const std::string& Text() const { return text_; }
  // Raises EVkAssertion when the length is not a whole number of records.
  int Count() const;

  // The index of the record for number (4 characters), or -1.
  int Find(std::string_view number) const;
  std::string_view Number(int record) const;
  // The item line the record stands for; raises the integer parser's
  // conversion error for a number that is not hexadecimal.
  int ItemIndex(int record) const;
  // 0…9; EVkAssertion for any other level character.
  int Level(int record) const;
  std::string_view DueTime(int record) const;

  void Delete(int record);
  // A new newest record.
  void Prepend(std::string_view number, int level, std::string_view due_time);

 private:
  std::string_view Record(int record) const;

  std::string text_;
};

// The due-time text of a moment given as LocalWallClockSeconds counts it.
// Raises EVkAssertion for a year outside 1…9999 (it would not fit the 14
// characters of a record).
std::string FormatDueTime(std::int64_t local_seconds);

// The value of a 4-character hexadecimal item number (either letter case);
// anything else raises the integer parser's conversion error.
int ParseItemNumber(std::string_view number);

// The item number as a record writes it: 4 upper-case hexadecimal digits.
std::string ItemNumberText(int item_index);

// A stored state as it comes back from a settings file that may have been
// hand-edited, half written or written by an older version. One bad record
// must not cost the learner the rest of the schedule, so every record is
// judged on its own: "/" starts a record and stands nowhere else, which
// finds the next record after any damage.
struct DroppedRecord {
  std::size_t offset = 0;  // where the dropped bytes start in the stored state
  std::string text;        // the dropped bytes
  std::string reason;
};
struct StateCheck {
  std::string state;  // the records kept, numbers upper-cased, in their order
  std::vector<DroppedRecord> dropped;
  // One line per dropped record, naming its position: for the log.
  std::vector<std::string> Problems() const;
};
StateCheck CheckState(std::string_view state, std::size_t item_count);

// Whether a due-time text names a real moment (a calendar date, 00-23 hours,
// 00-59 minutes and seconds).
bool IsValidDueTime(std::string_view due_time);

}  // namespace vork
