#pragma once
// Keys reach the bytecode as Windows virtual-key codes (F1 = 112, Return = 13
// ...). This is the one table between Qt's keys and those codes.

#include <Qt>

namespace vork {

// The virtual-key code of a Qt key, or 0 when it has none.
int VirtualKeyOf(int qt_key);
// A Qt key for a virtual-key code, or 0 (used to post keystrokes).
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
