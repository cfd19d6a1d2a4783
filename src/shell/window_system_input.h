#pragma once
// Mouse and key input handed to Qt as if the window system had sent it, so
// that it takes the same path as a person's: Qt's own button state, focus on
// click, shortcuts, double-click detection. Scripted runs (--events) use it.

#include <QEvent>
#include <QPoint>
#include <QString>

class QWindow;

namespace vork {

// The text a key press carries when no modifier changes it: "a" for A, "1",
// "+", "\r" for Return and Enter, "\t", "\b", Escape's control character;
// empty for keys that type nothing (arrows, function keys, Shift).
QString KeyText(int key);

class WindowSystemInput {
 public:
  // type is MouseButtonPress, MouseButtonRelease or MouseMove; `at` is in
  // the window's own pixels. The window may close in response.
  void Mouse(QWindow* window, QEvent::Type type, QPoint at, Qt::MouseButton button);
  // Presses and releases the key with KeyText's text, holding the
  // modifiers' own keys around it as a keyboard does.
  void KeyClick(QWindow* window, int key, Qt::KeyboardModifiers modifiers);
  // One character typed: key is the character's key code (Qt::Key_unknown
  // for characters no key carries), text the character.
  void TypeCharacter(QWindow* window, int key, const QString& text);

 private:
  void Key(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
           const QString& text);
  void ModifierKeys(QWindow* window, QEvent::Type type, Qt::KeyboardModifiers modifiers);

  Qt::MouseButtons held_;
  // Milliseconds as the events carry them. Releases move it on by more than
  // the double-click interval: scripted clicks are separate clicks.
  int timestamp_ = 0;
};

}  // namespace vork
