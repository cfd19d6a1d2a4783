#pragma once
// Plays the scripted input of a transcript run (--events) into the main
// window as real Qt mouse and key events, in order, with the waits between
// them measured by the event loop.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <vector>

#include "shell/event_script.h"
#include "shell/window_system_input.h"

class QWidget;

namespace vork {

class EventPlayer : public QObject {
  Q_OBJECT

 public:
  // Coordinates in the script are stage pixels; window_point_of gives where
  // one shows in the window (the stage may be zoomed). Without it they are
  // window pixels.
  EventPlayer(QWidget* window, std::vector<ScriptedEvent> events,
              std::function<QPoint(QPoint)> window_point_of = nullptr);
  // Starts playing from the event loop; does nothing a second time.
  void Start();

 private:
  void PlayNext();
  void Deliver(const ScriptedEvent& event);
  void Mouse(int type, QPoint at, Qt::MouseButton button);
  void Type(const QString& text);

  QPointer<QWidget> window_;
  std::vector<ScriptedEvent> events_;
  std::function<QPoint(QPoint)> window_point_of_;
  size_t next_ = 0;
  bool started_ = false;
  WindowSystemInput input_;
};

}  // namespace vork
