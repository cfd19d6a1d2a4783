#pragma once
// Small helpers that several script objects share.

#include <cstdint>
#include <string_view>

namespace vork {

// A one-character text gives its byte value, "$" and two hexadecimal digits
// give their value, anything else 0.
int32_t KeyCodeOf(std::string_view text);

// True when tag is empty or is one of the "|"-joined names in tags
// (case-sensitive).
bool TagMatch(std::string_view tags, std::string_view tag);

// Keyboard and mouse state bits as the bytecode sees them.
enum ShiftState : uint32_t {
  kShiftKey = 1,
  kAltKey = 2,
  kControlKey = 4,
  kLeftButton = 8,
  kRightButton = 16,
  kMiddleButton = 32,
  kDoubleClick = 64,
};

// The shift state as a word: the low seven bits of the set.
inline int32_t ShiftWord(uint32_t shift_state) { return static_cast<int32_t>(shift_state & 0x7F); }

}  // namespace vork
