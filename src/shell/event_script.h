#pragma once
// The input of a scripted run (--events FILE): one event a line, delivered to
// the stage in order once the first scene has been shown.

#include <string>
#include <string_view>
#include <vector>

namespace vork {

enum class ScriptedEventKind { Wait, Press, Move, Release, Click, Drag, Key, Type };
enum class ScriptedButton { Left, Right, Middle };

struct ScriptedEvent {
  ScriptedEventKind kind = ScriptedEventKind::Wait;
  int line = 0;              // in the file, for messages
  int ms = 0;                // wait
  int x = 0, y = 0;          // press, move, release, click, drag start
  int x2 = 0, y2 = 0;        // drag end
  ScriptedButton button = ScriptedButton::Left;
  std::string text;          // key name or typed text (UTF-8)
};

// Parses a whole event file. Blank lines and lines starting with "#" are
// skipped. Throws EVkError naming the line for anything it cannot read.
std::vector<ScriptedEvent> ParseEventScript(std::string_view text);

// The points a drag passes: ten moves evenly spaced after the press point,
// the last exactly at the end point.
std::vector<std::pair<int, int>> DragPath(int x1, int y1, int x2, int y2);

}  // namespace vork
