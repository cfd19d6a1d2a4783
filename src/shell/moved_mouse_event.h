#pragma once
// A mouse event handed on at another position. The copy keeps whether the
// original came from the window system: Qt moves the keyboard focus to a
// clicked control only for such events.

#include <QMouseEvent>
#include <memory>

namespace vork {

// The copy at `position` (in the receiver's coordinates); the scene and
// screen positions move by the same amount.
std::unique_ptr<QMouseEvent> MovedMouseEvent(const QMouseEvent& event, QPointF position);

}  // namespace vork
