#pragma once
// The message overlay of the stage: the last five messages that the course
// sent for its developer, numbered, drawn at the top-left of the stage in
// developer mode.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

class QPainter;

namespace vork {

class MessageOverlay {
 public:
  struct Line {
    std::string text;  // Windows-1252
    int kind;          // 0 plain, 1 alert, anything else debug
  };
  static constexpr size_t kMaxLines = 5;

  bool Visible() const { return visible_; }
  // False when the state did not change.
  bool SetVisible(bool visible);
  std::int32_t Counter() const { return counter_; }
  const std::deque<Line>& Lines() const { return lines_; }

  // Numbers the message and keeps it as the newest line.
  void Append(int kind, std::string_view text);
  void Clear() { lines_.clear(); }

  // Draws the lines from the top-left, oldest first.
  void Draw(QPainter& painter) const;

 private:
  bool visible_ = true;
  std::int32_t counter_ = 0;
  std::deque<Line> lines_;
};

}  // namespace vork
