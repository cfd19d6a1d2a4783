#include "vm/source_map.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <utility>

#include "platform/errors.h"

namespace vork {

namespace {

constexpr std::string_view kHeader = "vkmap 1";

struct KindName {
  SourceRoutineKind kind;
  std::string_view name;
};
constexpr KindName kKindNames[] = {
    {SourceRoutineKind::Main, "main"},
    {SourceRoutineKind::Routine, "routine"},
    {SourceRoutineKind::Scene, "scene"},
};

// A record's fields, read left to right; the last text field takes the rest
// of the line, so paths and names may hold spaces.
class RecordReader {
 public:
  RecordReader(std::string_view text, int line_number) : rest_(text), line_number_(line_number) {}

  std::string_view Word(std::string_view what) {
    const auto end = rest_.find(' ');
    const std::string_view word = rest_.substr(0, end);
    if (word.empty()) Fail("expected " + std::string(what));
    rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
    return word;
  }

  int32_t Number(std::string_view what, int32_t least) {
    const std::string_view word = Word(what);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || value < least) {
      Fail(std::string(what) + " '" + std::string(word) + "' is not a number from " + std::to_string(least) +
           " up to " + std::to_string(std::numeric_limits<int32_t>::max()));
    }
    return value;
  }

  std::string Rest(std::string_view what) {
    if (rest_.empty()) Fail("expected " + std::string(what));
    return std::string(std::exchange(rest_, std::string_view()));
  }

  void End() {
    if (!rest_.empty()) Fail("unexpected '" + std::string(rest_) + "' at the end of the record");
  }

  [[noreturn]] void Fail(const std::string& message) const {
    throw EVkError("source map line " + std::to_string(line_number_) + ": " + message);
  }

 private:
  std::string_view rest_;
  int line_number_;
};

SourceRoutineKind KindNamed(RecordReader& reader) {
  const std::string_view word = reader.Word("a routine kind");
  for (const KindName& entry : kKindNames) {
    if (entry.name == word) return entry.kind;
  }
  reader.Fail("unknown routine kind '" + std::string(word) + "' (main, routine or scene)");
}

// Text that Format writes as the rest of a line must stay on that line.
void CheckText(const std::string& text, std::string_view what) {
  if (text.empty() || text.find_first_of("\r\n") != std::string::npos) {
    throw EVkError("source map: a " + std::string(what) + " must be one line of text, not '" + text + "'");
  }
}

}  // namespace

std::string_view SourceRoutineKindName(SourceRoutineKind kind) {
  for (const KindName& entry : kKindNames) {
    if (entry.kind == kind) return entry.name;
  }
  return "routine";
}

int SourceMap::addFile(const std::string& path) {
  CheckText(path, "file path");
  files_.push_back(path);
  return static_cast<int>(files_.size()) - 1;
}

void SourceMap::addRoutine(int32_t address, SourceRoutineKind kind, const std::string& name) {
  CheckText(name, "routine name");
  if (address < 0 || (!routines_.empty() && address < routines_.back().address)) {
    throw EVkError("source map: routine " + name + " at " + std::to_string(address) +
                   " is out of address order");
  }
  routines_.push_back({address, kind, name});
}

void SourceMap::addLine(int32_t address, int file, int line) {
  if (file < 0 || static_cast<size_t>(file) >= files_.size()) {
    throw EVkError("source map: file index " + std::to_string(file) + " is not listed");
  }
  if (line < 1) throw EVkError("source map: line " + std::to_string(line) + " is not a line number");
  if (address < 0 || (!lines_.empty() && address < lines_.back().address)) {
    throw EVkError("source map: line record at " + std::to_string(address) + " is out of address order");
  }
  lines_.push_back({address, file, line});
}

SourceMap SourceMap::Parse(std::string_view text) {
  SourceMap map;
  int line_number = 0;
  bool seen_header = false;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    RecordReader reader(line, line_number);
    if (!seen_header) {
      if (line != kHeader) reader.Fail("expected '" + std::string(kHeader) + "', found '" + std::string(line) + "'");
      seen_header = true;
      continue;
    }
    if (line.empty()) continue;
    const std::string_view record = reader.Word("a record");
    try {
      if (record == "file") {
        const int32_t index = reader.Number("file index", 0);
        if (static_cast<size_t>(index) != map.files_.size()) {
          reader.Fail("file index " + std::to_string(index) + " where " + std::to_string(map.files_.size()) +
                      " comes next");
        }
        map.addFile(reader.Rest("a file path"));
      } else if (record == "routine") {
        const int32_t address = reader.Number("routine address", 0);
        const SourceRoutineKind kind = KindNamed(reader);
        map.addRoutine(address, kind, reader.Rest("a routine name"));
      } else if (record == "line") {
        const int32_t address = reader.Number("line address", 0);
        const int32_t file = reader.Number("file index", 0);
        const int32_t source_line = reader.Number("line number", 1);
        reader.End();
        map.addLine(address, file, source_line);
      } else {
        reader.Fail("unknown record '" + std::string(record) + "'");
      }
    } catch (const EVkError& e) {
      // The builders' own checks, given the line they were read from.
      const std::string message = e.what();
      if (message.starts_with("source map line ")) throw;
      reader.Fail(message.substr(message.find(": ") + 2));
    }
  }
  if (!seen_header) throw EVkError("source map: empty, expected '" + std::string(kHeader) + "'");
  return map;
}

std::string SourceMap::Format() const {
  std::string text = std::string(kHeader) + "\n";
  for (size_t i = 0; i < files_.size(); ++i) text += "file " + std::to_string(i) + " " + files_[i] + "\n";
  for (const SourceRoutine& routine : routines_) {
    text += "routine " + std::to_string(routine.address) + " " + std::string(SourceRoutineKindName(routine.kind)) +
            " " + routine.name + "\n";
  }
  for (const SourceLine& line : lines_) {
    text += "line " + std::to_string(line.address) + " " + std::to_string(line.file) + " " +
            std::to_string(line.line) + "\n";
  }
  return text;
}

std::optional<SourceLocation> SourceMap::where(int32_t address) const {
  const auto after = std::upper_bound(lines_.begin(), lines_.end(), address,
                                      [](int32_t wanted, const SourceLine& line) { return wanted < line.address; });
  if (after == lines_.begin()) return std::nullopt;
  const SourceLine& line = *std::prev(after);
  return SourceLocation{files_[static_cast<size_t>(line.file)], line.line};
}

std::optional<SourceRoutine> SourceMap::routineAt(int32_t address) const {
  const auto after = std::upper_bound(
      routines_.begin(), routines_.end(), address,
      [](int32_t wanted, const SourceRoutine& routine) { return wanted < routine.address; });
  if (after == routines_.begin()) return std::nullopt;
  return *std::prev(after);
}

std::optional<SourceRoutine> SourceMap::findRoutine(std::string_view name) const {
  const auto found = std::find_if(routines_.begin(), routines_.end(),
                                  [&](const SourceRoutine& routine) { return routine.name == name; });
  if (found == routines_.end()) return std::nullopt;
  return *found;
}

}  // namespace vork
