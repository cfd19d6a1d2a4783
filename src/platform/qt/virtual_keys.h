#pragma once
// Keys reach the bytecode as Windows virtual-key codes (F1 = 112, Return = 13
// ...). This is the one table between Qt's keys and those codes.

#include <Qt>

class QKeyEvent;

namespace vork {

// The virtual-key code of a key event: the keypad's digits and operators
// have codes of their own, a shifted digit or symbol has the code of its
// key, and letters beyond ASCII the code of their key on the layout they
// come from.
int VirtualKeyOf(const QKeyEvent& event);
// The virtual-key code of a Qt key, or 0 when it has none.
int VirtualKeyOf(int qt_key, bool keypad = false);
// A Qt key for a virtual-key code, or 0 (used to post keystrokes). The
// keypad's own codes have none: a posted key carries no keypad mark.
int QtKeyOf(int virtual_key);

// The codes that code outside the tables names.
constexpr int kVkBackspace = 8;
constexpr int kVkTab = 9;
constexpr int kVkReturn = 13;
constexpr int kVkPageUp = 33;
constexpr int kVkPageDown = 34;
constexpr int kVkEnd = 35;
constexpr int kVkHome = 36;
constexpr int kVkLeft = 37;
constexpr int kVkUp = 38;
constexpr int kVkRight = 39;
constexpr int kVkDown = 40;
constexpr int kVkDelete = 46;
constexpr int kVkNumLock = 144;

}  // namespace vork
