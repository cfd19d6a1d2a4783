#include "shell/moved_mouse_event.h"

#include <QtTest/qtestspontaneevent.h>

namespace vork {

std::unique_ptr<QMouseEvent> MovedMouseEvent(const QMouseEvent& event, QPointF position) {
  const QPointF shift = position - event.position();
  auto moved = std::make_unique<QMouseEvent>(event.type(), position, event.scenePosition() + shift,
                                             event.globalPosition() + shift, event.button(),
                                             event.buttons(), event.modifiers(), event.pointingDevice());
  moved->setTimestamp(event.timestamp());
  // Qt offers no other way to mark an event as the window system's.
  if (event.spontaneous()) QSpontaneKeyEvent::setSpontaneous(moved.get());
  return moved;
}

}  // namespace vork
