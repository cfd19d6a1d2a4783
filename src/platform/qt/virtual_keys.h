#pragma once
// Keys reach the bytecode as Windows virtual-key codes (F1 = 112, Return = 13
// ...). This is the one table between Qt's keys and those codes.

#include <Qt>

namespace vork {

// The virtual-key code of a Qt key, or 0 when it has none.
int VirtualKeyOf(int qt_key);
// A Qt key for a virtual-key code, or 0 (used to post keystrokes).
int QtKeyOf(int virtual_key);

constexpr int kVkNumLock = 144;

}  // namespace vork
