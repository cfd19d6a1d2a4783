#include "shell/event_player.h"

#include <QApplication>
#include <QMetaEnum>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "platform/errors.h"

namespace vork {

namespace {

Qt::MouseButton ButtonOf(ScriptedButton button) {
  switch (button) {
    case ScriptedButton::Left: return Qt::LeftButton;
    case ScriptedButton::Right: return Qt::RightButton;
    case ScriptedButton::Middle: return Qt::MiddleButton;
  }
  return Qt::LeftButton;
}

// The modifiers written before a key name: "Ctrl+", "Shift+", "Alt+", and
// "Keypad+" for a key of the numeric keypad ("Keypad+5", "Keypad+Plus").
Qt::KeyboardModifiers TakeModifiers(std::string& name) {
  static const std::pair<const char*, Qt::KeyboardModifier> kPrefixes[] = {
      {"Ctrl+", Qt::ControlModifier}, {"Shift+", Qt::ShiftModifier}, {"Alt+", Qt::AltModifier},
      {"Keypad+", Qt::KeypadModifier}};
  Qt::KeyboardModifiers modifiers;
  for (bool more = true; more;) {
    more = false;
    for (const auto& [prefix, modifier] : kPrefixes) {
      const std::string text(prefix);
      if (name.size() > text.size() && name.compare(0, text.size(), text) == 0) {
        name.erase(0, text.size());
        modifiers |= modifier;
        more = true;
      }
    }
  }
  return modifiers;
}

// A Qt key from its name without "Key_" ("Return", "F5") or one character.
int KeyOf(const ScriptedEvent& event, const std::string& text) {
  const QString name = QString::fromUtf8(text);
  bool found = false;
  int key = QMetaEnum::fromType<Qt::Key>().keyToValue(("Key_" + text).c_str(), &found);
  if (found) return key;
  if (name.size() == 1) return name.at(0).toUpper().unicode();
  throw EVkError("events line " + std::to_string(event.line) + ": unknown key '" + event.text + "'");
}

}  // namespace

EventPlayer::EventPlayer(QWidget* window, std::vector<ScriptedEvent> events,
                         std::function<QPoint(QPoint)> window_point_of)
    : window_(window), events_(std::move(events)), window_point_of_(std::move(window_point_of)) {}

void EventPlayer::Start() {
  if (started_) return;
  started_ = true;
  QTimer::singleShot(0, this, [this] { PlayNext(); });
}

void EventPlayer::PlayNext() {
  while (next_ < events_.size()) {
    const ScriptedEvent& event = events_[next_++];
    if (!window_) return;
    if (event.kind == ScriptedEventKind::Wait) {
      QTimer::singleShot(event.ms, this, [this] { PlayNext(); });
      return;
    }
    Deliver(event);
    // Let each event's consequences (posted scene changes, repaints) run
    // before the next one, as a person's input would.
    QTimer::singleShot(0, this, [this] { PlayNext(); });
    return;
  }
}

void EventPlayer::Mouse(int type, QPoint at, Qt::MouseButton button) {
  QWindow* window = window_ ? window_->windowHandle() : nullptr;
  if (!window) return;
  if (window_point_of_) at = window_point_of_(at);
  input_.Mouse(window, static_cast<QEvent::Type>(type), at, button);
}

// One character at a time, as a keyboard would, to the control with the
// keyboard focus.
void EventPlayer::Type(const QString& text) {
  for (const QChar ch : text) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window_.data();
    QWindow* window = target ? target->window()->windowHandle() : nullptr;
    if (!window) return;
    const char16_t upper = ch.toUpper().unicode();
    // Qt's key codes for Latin-1 letters are their upper-case code points.
    input_.TypeCharacter(window, upper < 0x100 ? upper : int(Qt::Key_unknown), QString(ch));
  }
}

void EventPlayer::Deliver(const ScriptedEvent& event) {
  const QPoint at(event.x, event.y);
  const Qt::MouseButton button = ButtonOf(event.button);
  switch (event.kind) {
    case ScriptedEventKind::Wait: break;
    case ScriptedEventKind::Press: Mouse(QEvent::MouseButtonPress, at, button); break;
    case ScriptedEventKind::Release: Mouse(QEvent::MouseButtonRelease, at, button); break;
    case ScriptedEventKind::Move: Mouse(QEvent::MouseMove, at, Qt::NoButton); break;
    case ScriptedEventKind::Click:
      Mouse(QEvent::MouseButtonPress, at, button);
      Mouse(QEvent::MouseButtonRelease, at, button);
      break;
    case ScriptedEventKind::Drag: {
      Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
      QPoint last = at;
      for (auto [x, y] : DragPath(event.x, event.y, event.x2, event.y2)) {
        last = QPoint(x, y);
        Mouse(QEvent::MouseMove, last, Qt::NoButton);
      }
      Mouse(QEvent::MouseButtonRelease, last, Qt::LeftButton);
      break;
    }
    case ScriptedEventKind::Key: {
      std::string name = event.text;
      const Qt::KeyboardModifiers modifiers = TakeModifiers(name);
      int key = KeyOf(event, name);
      if (QWindow* window = window_ ? window_->windowHandle() : nullptr)
        input_.KeyClick(window, key, modifiers);
      break;
    }
    case ScriptedEventKind::Type: Type(QString::fromUtf8(event.text)); break;
  }
}

}  // namespace vork
