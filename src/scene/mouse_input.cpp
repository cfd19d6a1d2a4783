#include "scene/mouse_input.h"

namespace vork {

TMouseButton MouseButtonFromQt(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton: return TMouseButton::Right;
    case Qt::MiddleButton: return TMouseButton::Middle;
    default: return TMouseButton::Left;
  }
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                             bool double_click) {
  TShiftState state = 0;
  if (modifiers & Qt::ShiftModifier) state |= kShiftShift;
  if (modifiers & Qt::AltModifier) state |= kShiftAlt;
  if (modifiers & Qt::ControlModifier) state |= kShiftCtrl;
  if (buttons & Qt::LeftButton) state |= kShiftLeft;
  if (buttons & Qt::RightButton) state |= kShiftRight;
  if (buttons & Qt::MiddleButton) state |= kShiftMiddle;
  if (double_click) state |= kShiftDouble;
  return state;
}

}  // namespace vork
