#include "shell/whole_pixel_mouse.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWindow>
#include <cmath>

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
  const QPointF shift = whole - at;
  QMouseEvent copy(mouse->type(), whole, mouse->scenePosition() + shift,
                   mouse->globalPosition() + shift, mouse->button(), mouse->buttons(),
                   mouse->modifiers(), mouse->pointingDevice());
  copy.setTimestamp(mouse->timestamp());
  // The control may run a nested event loop; events in there are new ones.
  QEvent* outer = resent_;
  resent_ = &copy;
  QCoreApplication::sendEvent(watched, &copy);
  resent_ = outer;
  mouse->setAccepted(copy.isAccepted());
  return true;
}

}  // namespace vork
