#include "shell/whole_pixel_mouse.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <cmath>

#include "shell/moved_mouse_event.h"

namespace vork {

bool WholePixelMouse::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: break;
    default: return false;
  }
  // Windows get the events first and route them to their controls.
  if (event == resent_ || !watched->isWindowType()) return false;
  auto* mouse = static_cast<QMouseEvent*>(event);
  const QPointF at = mouse->position();
  const QPointF whole(std::floor(at.x()), std::floor(at.y()));
  if (whole == at) return false;
  std::unique_ptr<QMouseEvent> moved = MovedMouseEvent(*mouse, whole);
  // The control may run a nested event loop; events in there are new ones.
  QEvent* outer = resent_;
  resent_ = moved.get();
  QCoreApplication::sendEvent(watched, moved.get());
  resent_ = outer;
  mouse->setAccepted(moved->isAccepted());
  return true;
}

}  // namespace vork
