#pragma once
// TVkView: the stage control inside the main window. It holds the stage
// background and receives the two private messages through which the
// bytecode defers work to the event loop: a scene change and a deferred call.
// Both are posted events, registered by name, so that they run only when the
// event loop next dispatches, never inside the message that asked for them.

#include <QSize>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace vork {

class TVkBackground;

// Puts `area` of `widget` on screen before returning, like QWidget::repaint,
// also while the stage is shown scaled: there the stage lives in a graphics
// view, where repaint() alone only schedules a paint.
void RepaintNow(QWidget* widget, const QRect& area);

// The event type registered for a private message name (the same name always
// gives the same type within the process).
int RegisteredMessage(const char* name);

inline constexpr const char* kTransitionToMessage = "KESTROVA/VORK/WM_VORK_TRANSITIONTO";
inline constexpr const char* kCallNotifyHandlerMessage = "KESTROVA/VORK/WM_VORK_CALLNOTIFYHANDLER";

class TVkView : public QWidget {
  Q_OBJECT

 public:
  // A black view of the scene size with the background at (0, 0) filling it.
  TVkView(QWidget* parent, QSize scene_size);

  TVkBackground* Background() const { return background_; }

  // Post the two messages: wparam is the system object's handle, lparam the
  // routine entry (0 for a scene change that ends the course).
  void PostTransitionTo(int32_t system_object, int32_t routine);
  void PostCallNotifyHandler(int32_t system_object, int32_t routine);

  // Set by the director; cleared when the machine is gone, after which the
  // messages still in the queue are dropped.
  std::function<void(int32_t system_object, int32_t routine)> OnTransitionTo;
  std::function<void(int32_t system_object, int32_t routine)> OnCallNotifyHandler;
  // Raised after a scene change to routine 0 has run.
  std::function<void()> OnQuit;

  // The colour around the stage background (a Windows colour word).
  void SetViewColor(int32_t color);

 protected:
  bool event(QEvent* event) override;

 private:
  TVkBackground* background_;
};

}  // namespace vork
