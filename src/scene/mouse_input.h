#pragma once
// Mouse buttons and the shift state as the stage hands them to sprites. The
// shift state already has the bit layout that the bytecode sees, so it
// travels on as a word unchanged.

#include <Qt>
#include <cstdint>

namespace vork {

enum class TMouseButton : std::int32_t { Left = 0, Right = 1, Middle = 2 };

using TShiftState = std::int32_t;
inline constexpr TShiftState kShiftShift = 1;
inline constexpr TShiftState kShiftAlt = 2;
inline constexpr TShiftState kShiftCtrl = 4;
inline constexpr TShiftState kShiftLeft = 8;
inline constexpr TShiftState kShiftRight = 16;
inline constexpr TShiftState kShiftMiddle = 32;
inline constexpr TShiftState kShiftDouble = 64;

// Buttons other than the three are reported as the left one; the stage never
// sees them from an ordinary mouse.
TMouseButton MouseButtonFromQt(Qt::MouseButton button);
// `buttons` are the buttons held after the event, as on Windows: a press
// includes the pressed button, a release no longer includes the released one.
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                             bool double_click = false);

}  // namespace vork
