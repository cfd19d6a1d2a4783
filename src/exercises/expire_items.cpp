#include "exercises/expire_items.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>

#include "platform/errors.h"

namespace vork {

namespace {

constexpr std::size_t kNumberOffset = 1;
constexpr std::size_t kLevelOffset = 5;
constexpr std::size_t kDueTimeOffset = 6;

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

char UpperHex(char c) { return (c >= 'a' && c <= 'f') ? static_cast<char>(c - 0x20) : c; }

bool IsWellFormedRecord(std::string_view record) {
  if (record[0] != '/') return false;
  for (std::size_t i = 0; i < TSa1ExpireItems::kNumberLength; ++i) {
    if (!IsHexDigit(record[kNumberOffset + i])) return false;
  }
  for (std::size_t i = kLevelOffset; i < TSa1ExpireItems::kRecordLength; ++i) {
    if (!IsDigit(record[i])) return false;
  }
  return true;
}

}  // namespace

int TSa1ExpireItems::Count() const {
  Check(text_.size() % kRecordLength == 0);
  return static_cast<int>(text_.size() / kRecordLength);
}

std::string_view TSa1ExpireItems::Record(int record) const {
  Check(record >= 0 && record < Count());
  return std::string_view(text_).substr(static_cast<std::size_t>(record) * kRecordLength,
                                         kRecordLength);
}

int TSa1ExpireItems::Find(std::string_view number) const {
  Check(number.size() == kNumberLength);
  const std::size_t records = static_cast<std::size_t>(Count());
  // A search for "/" and the number: "/" stands only at the start of a
  // record, so the hit tells its record.
  const std::string key = "/" + std::string(number);
  const std::size_t found = text_.find(key);
  if (found == std::string::npos) return -1;
  Check(found % kRecordLength == 0 && found / kRecordLength < records);
  return static_cast<int>(found / kRecordLength);
}

std::string_view TSa1ExpireItems::Number(int record) const {
  return Record(record).substr(kNumberOffset, kNumberLength);
}

int TSa1ExpireItems::ItemIndex(int record) const { return ParseItemNumber(Number(record)); }

int TSa1ExpireItems::Level(int record) const {
  const char level = Record(record)[kLevelOffset];
  Check(IsDigit(level));
  return level - '0';
}

std::string_view TSa1ExpireItems::DueTime(int record) const {
  return Record(record).substr(kDueTimeOffset, kDueTimeLength);
}

void TSa1ExpireItems::Delete(int record) {
  Record(record);  // checks the index
  text_.erase(static_cast<std::size_t>(record) * kRecordLength, kRecordLength);
}

void TSa1ExpireItems::Prepend(std::string_view number, int level, std::string_view due_time) {
  Check(number.size() == kNumberLength);
  Check(level >= 0 && level <= kMaxLevel);
  Check(due_time.size() == kDueTimeLength);
  std::string record = "/";
  record.append(number);
  record.push_back(static_cast<char>('0' + level));
  record.append(due_time);
  text_.insert(0, record);
}

int ParseItemNumber(std::string_view number) {
  Check(number.size() == TSa1ExpireItems::kNumberLength);
  int value = 0;
  for (char c : number) {
    if (!IsHexDigit(c)) {
      throw EVkError("'" + std::string(number) + "' is not a valid integer value");
    }
    value = value * 16 + HexValue(c);
  }
  return value;
}

std::string ItemNumberText(int item_index) {
  Check(item_index >= 0 && item_index <= 0xFFFF);
  char text[8];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(item_index));
  return text;
}

std::string FormatDueTime(std::int64_t local_seconds) {
  using namespace std::chrono;
  constexpr std::int64_t kSecondsPerDay = 86400;
  std::int64_t days = local_seconds / kSecondsPerDay;
  std::int64_t second_of_day = local_seconds % kSecondsPerDay;
  if (second_of_day < 0) {
    second_of_day += kSecondsPerDay;
    --days;
  }
  // Far outside the four-digit years the chrono calendar would overflow.
  Check(days > -800'000 && days < 3'000'000);
  const year_month_day date{sys_days{std::chrono::days{days}}};
  const int year_number = static_cast<int>(date.year());
  Check(year_number >= 1 && year_number <= 9999);
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02u%02u%02d%02d%02d", year_number,
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(second_of_day / 3600), static_cast<int>(second_of_day / 60 % 60),
                static_cast<int>(second_of_day % 60));
  const std::string formatted = text;
  Check(formatted.size() == TSa1ExpireItems::kDueTimeLength);
  return formatted;
}

bool IsValidDueTime(std::string_view due_time) {
  using namespace std::chrono;
  if (due_time.size() != TSa1ExpireItems::kDueTimeLength) return false;
  for (char c : due_time) {
    if (!IsDigit(c)) return false;
  }
  const auto number = [&](std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) value = value * 10 + (due_time[i] - '0');
    return value;
  };
  const year_month_day date{year{number(0, 4)}, month{static_cast<unsigned>(number(4, 2))},
                            day{static_cast<unsigned>(number(6, 2))}};
  return number(0, 4) >= 1 && date.ok() && number(8, 2) < 24 && number(10, 2) < 60 && number(12, 2) < 60;
}

namespace {

// Judges one record-sized piece whose first byte is "/"; answers the reason
// to drop it, or "" to keep it (its number upper-cased in place).
std::string JudgeRecord(std::string& record, std::size_t item_count, std::set<int>& seen) {
  if (!IsWellFormedRecord(record)) return "is not a record";
  for (std::size_t i = 0; i < TSa1ExpireItems::kNumberLength; ++i) {
    record[kNumberOffset + i] = UpperHex(record[kNumberOffset + i]);
  }
  if (!IsValidDueTime(std::string_view(record).substr(kDueTimeOffset))) return "has no valid due time";
  const int item = ParseItemNumber(std::string_view(record).substr(kNumberOffset, TSa1ExpireItems::kNumberLength));
  if (static_cast<std::size_t>(item) >= item_count) {
    return "names item " + std::to_string(item) + " of " + std::to_string(item_count);
  }
  if (!seen.insert(item).second) return "repeats item " + std::to_string(item) + " of a newer record";
  return {};
}

}  // namespace

std::vector<std::string> StateCheck::Problems() const {
  std::vector<std::string> lines;
  for (const DroppedRecord& record : dropped) {
    lines.push_back("bytes " + std::to_string(record.offset + 1) + "-" +
                    std::to_string(record.offset + record.text.size()) + " ('" + record.text + "') " + record.reason);
  }
  return lines;
}

StateCheck CheckState(std::string_view state, std::size_t item_count) {
  constexpr std::size_t kLength = TSa1ExpireItems::kRecordLength;
  StateCheck result;
  std::set<int> seen;
  const auto drop = [&](std::size_t from, std::size_t to, std::string reason) {
    result.dropped.push_back({from, std::string(state.substr(from, to - from)), std::move(reason)});
  };
  for (std::size_t start = 0; start < state.size();) {
    const std::size_t next = std::min(state.find('/', start + 1), state.size());
    const std::size_t length = next - start;
    if (state[start] != '/') {
      drop(start, next, "is not a record");
    } else if (length % kLength != 0) {
      drop(start, next, next == state.size() && length < kLength ? "is cut off"
                                                                  : "is " + std::to_string(length) + " bytes long");
    } else {
      // Whole records without a "/" of their own after it: the "/" of the
      // next record was damaged, and that record goes, but not this one.
      std::string record(state.substr(start, kLength));
      const std::string reason = JudgeRecord(record, item_count, seen);
      if (reason.empty()) {
        result.state += record;
      } else {
        drop(start, start + kLength, reason);
      }
      if (length > kLength) drop(start + kLength, next, "has lost its '/'");
    }
    start = next;
  }
  return result;
}

}  // namespace vork
