#include "shell/event_script.h"

#include <charconv>
#include <cmath>

#include "platform/errors.h"

namespace vork {

namespace {

class LineReader {
 public:
  LineReader(std::string_view line, int number) : rest_(line), number_(number) {}

  std::string_view Word() {
    SkipSpaces();
    size_t end = rest_.find_first_of(" \t");
    std::string_view word = rest_.substr(0, end);
    rest_.remove_prefix(word.size());
    return word;
  }

  int Number(const char* what) {
    std::string_view word = Word();
    int value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || ec != std::errc() || end != word.data() + word.size())
      Fail(std::string("expected ") + what + ", found '" + std::string(word) + "'");
    return value;
  }

  ScriptedButton Button() {
    std::string_view word = Word();
    if (word.empty() || word == "left") return ScriptedButton::Left;
    if (word == "right") return ScriptedButton::Right;
    if (word == "middle") return ScriptedButton::Middle;
    Fail("unknown mouse button '" + std::string(word) + "'");
  }

  // The rest of the line after the single space that ends the command word.
  std::string_view Rest() {
    if (!rest_.empty() && (rest_[0] == ' ' || rest_[0] == '\t')) rest_.remove_prefix(1);
    std::string_view all = rest_;
    rest_ = {};
    return all;
  }

  void End() {
    SkipSpaces();
    if (!rest_.empty()) Fail("unexpected '" + std::string(rest_) + "'");
  }

  [[noreturn]] void Fail(const std::string& why) const {
    throw EVkError("events line " + std::to_string(number_) + ": " + why);
  }

 private:
  void SkipSpaces() {
    while (!rest_.empty() && (rest_[0] == ' ' || rest_[0] == '\t')) rest_.remove_prefix(1);
  }

  std::string_view rest_;
  int number_;
};

ScriptedEvent ParseLine(std::string_view line, int number) {
  LineReader reader(line, number);
  std::string_view command = reader.Word();
  ScriptedEvent event{};
  event.kind = ScriptedEventKind::Wait;
  event.line = number;
  if (command == "wait") {
    event.ms = reader.Number("milliseconds");
  } else if (command == "press" || command == "release" || command == "click") {
    event.kind = command == "press" ? ScriptedEventKind::Press
               : command == "release" ? ScriptedEventKind::Release : ScriptedEventKind::Click;
    event.x = reader.Number("x");
    event.y = reader.Number("y");
    event.button = reader.Button();
  } else if (command == "move") {
    event.kind = ScriptedEventKind::Move;
    event.x = reader.Number("x");
    event.y = reader.Number("y");
  } else if (command == "drag") {
    event.kind = ScriptedEventKind::Drag;
    event.x = reader.Number("x1");
    event.y = reader.Number("y1");
    event.x2 = reader.Number("x2");
    event.y2 = reader.Number("y2");
  } else if (command == "key") {
    event.kind = ScriptedEventKind::Key;
    event.text = std::string(reader.Word());
    if (event.text.empty()) reader.Fail("key needs a key name");
  } else if (command == "type") {
    event.kind = ScriptedEventKind::Type;
    event.text = std::string(reader.Rest());
    return event;
  } else {
    reader.Fail("unknown event '" + std::string(command) + "'");
  }
  reader.End();
  return event;
}

}  // namespace

std::vector<ScriptedEvent> ParseEventScript(std::string_view text) {
  std::vector<ScriptedEvent> events;
  int number = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#') continue;
    events.push_back(ParseLine(line.substr(first), number));
  }
  return events;
}

std::vector<std::pair<int, int>> DragPath(int x1, int y1, int x2, int y2) {
  std::vector<std::pair<int, int>> path;
  for (int step = 1; step <= 10; ++step) {
    path.emplace_back(x1 + static_cast<int>(std::lround((x2 - x1) * step / 10.0)),
                      y1 + static_cast<int>(std::lround((y2 - y1) * step / 10.0)));
  }
  return path;
}

}  // namespace vork
