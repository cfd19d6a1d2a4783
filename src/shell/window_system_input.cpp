#include "shell/window_system_input.h"

#include <QGuiApplication>
#include <QPointer>
#include <QStyleHints>
#include <QWindow>
#include <utility>

// Qt's entry points for input from the window system, exported by Qt GUI
// for input simulation. They deliver at once, through QGuiApplication's
// whole handling; QCoreApplication::sendEvent would bypass it.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key,
                                    Qt::KeyboardModifiers mods, const QString& text,
                                    bool autorep, ushort count);

namespace vork {

QString KeyText(int key) {
  switch (key) {
    case Qt::Key_Backspace: return QStringLiteral("\b");
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return QStringLiteral("\t");
    case Qt::Key_Return:
    case Qt::Key_Enter: return QStringLiteral("\r");
    case Qt::Key_Escape: return QString(QChar(0x1b));
    case Qt::Key_Delete: return QString(QChar(0x7f));
    default: break;
  }
  // Qt's codes for the printable ASCII keys are the characters themselves,
  // letters in upper case; an unshifted key types the lower-case letter.
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return QString(QChar(key - Qt::Key_A + 'a'));
  if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde) return QString(QChar(key));
  return {};
}

void WindowSystemInput::Mouse(QWindow* window, QEvent::Type type, QPoint at, Qt::MouseButton button) {
  QPointer<QWindow> alive(window);
  timestamp_ += 1;
  if (type == QEvent::MouseButtonPress) held_ |= button;
  if (type == QEvent::MouseButtonRelease) held_ &= ~Qt::MouseButtons(button);
  if (type == QEvent::MouseMove) button = Qt::NoButton;
  qt_handleMouseEvent(window, at, window->mapToGlobal(at), held_, button, type, Qt::NoModifier, timestamp_);
  if (type == QEvent::MouseButtonRelease) timestamp_ += QGuiApplication::styleHints()->mouseDoubleClickInterval();
  // Let what the event posted run before the next one, as between a
  // person's clicks.
  if (alive) QCoreApplication::processEvents();
}

void WindowSystemInput::KeyClick(QWindow* window, int key, Qt::KeyboardModifiers modifiers) {
  QPointer<QWindow> alive(window);
  const QString text = KeyText(key);
  ModifierKeys(window, QEvent::KeyPress, modifiers);
  if (alive) Key(window, QEvent::KeyPress, key, modifiers, text);
  if (alive) Key(window, QEvent::KeyRelease, key, modifiers, text);
  if (alive) ModifierKeys(window, QEvent::KeyRelease, modifiers);
}

void WindowSystemInput::TypeCharacter(QWindow* window, int key, const QString& text) {
  QPointer<QWindow> alive(window);
  Key(window, QEvent::KeyPress, key, Qt::NoModifier, text);
  if (alive) Key(window, QEvent::KeyRelease, key, Qt::NoModifier, text);
}

void WindowSystemInput::Key(QWindow* window, QEvent::Type type, int key,
                            Qt::KeyboardModifiers modifiers, const QString& text) {
  QPointer<QWindow> alive(window);
  qt_handleKeyEvent(window, type, key, modifiers, text, false, 1);
  if (alive) QCoreApplication::processEvents();
}

// Pressed in this order and released in the reverse one. Each event carries
// the modifiers held just before it, as the window system reports them
// (QKeyEvent::modifiers then answers the state after a modifier's own key).
void WindowSystemInput::ModifierKeys(QWindow* window, QEvent::Type type, Qt::KeyboardModifiers modifiers) {
  static const std::pair<Qt::KeyboardModifier, Qt::Key> kKeys[] = {
      {Qt::ShiftModifier, Qt::Key_Shift}, {Qt::ControlModifier, Qt::Key_Control},
      {Qt::AltModifier, Qt::Key_Alt}, {Qt::MetaModifier, Qt::Key_Meta}};
  QPointer<QWindow> alive(window);
  const bool press = type == QEvent::KeyPress;
  Qt::KeyboardModifiers held = press ? Qt::KeyboardModifiers() : modifiers & ~Qt::KeypadModifier;
  for (int i = 0; i < 4 && alive; ++i) {
    const auto& [modifier, key] = kKeys[press ? i : 3 - i];
    if (!(modifiers & modifier)) continue;
    Key(window, type, key, held, QString());
    held.setFlag(modifier, press);
  }
}

}  // namespace vork
