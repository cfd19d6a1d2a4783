#pragma once
// TVkStringListObject (class 19): the bytecode's general list of text lines.
// Each line carries one extra word (an object handle or any number; the list
// never treats it as an object). The system object, the text-script
// processor and the exercises read and fill these lists in place, by handle
// (StringListAt).
//
// Lines and names compare ignoring letter case (Windows-1252 letters); the
// list keeps the order it is given unless message 13 sorts it, and it allows
// duplicates. A line "name=value" is a named value.
//
// It owns nothing on the stage, so it builds without Qt.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/script_object.h"

namespace vork {

struct TVkListLine {
  std::string text;
  int32_t word = 0;

  bool operator==(const TVkListLine&) const = default;
};

class TVkStringListObject : public TVkScriptObject {
 public:
  void HandleMessage(int32_t message) override;

  std::vector<TVkListLine>& Lines() { return lines_; }
  const std::vector<TVkListLine>& Lines() const { return lines_; }
  // The texts alone, and a content made of texts (their words 0).
  std::vector<std::string> Texts() const;
  void SetTexts(const std::vector<std::string>& texts);

  void Add(std::string text, int32_t word = 0) { lines_.push_back({std::move(text), word}); }
  // Ascending, ignoring case; lines that compare equal keep their order.
  void Sort();
  // Index of the first line equal to text ignoring case, or -1.
  int32_t IndexOf(std::string_view text) const;
  // The value of the first line "name=value" whose name equals name ignoring
  // case; empty when there is none.
  std::string Value(std::string_view name) const;
  // The lines joined with separator between consecutive lines.
  std::string Join(std::string_view separator) const;
  // Replaces the content by the pieces of text between separators; a
  // separator at the very end gives no empty last line.
  void Split(std::string_view separator, std::string_view text);

 private:
  // Raises the list's index error unless 0 <= index < count (or <= count
  // when the index may append).
  void CheckIndex(int32_t index, bool may_append = false) const;
  TVkListLine& LineAt(int32_t index);

  std::vector<TVkListLine> lines_;
};

// The string list named by handle. Anything else (a dead handle, an object
// of another class) raises EVkError naming the handle.
TVkStringListObject& StringListAt(TVkObjectManager& manager, int32_t handle);

}  // namespace vork
