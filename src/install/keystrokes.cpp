#include "install/keystrokes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include "install/send_keys.h"
#include "platform/cp1252.h"
#include "platform/message_boxes.h"
#include "platform/qt/main_form.h"
#include "platform/qt/virtual_keys.h"

namespace vork {
namespace {

Qt::KeyboardModifiers ModifiersOf(const KeyStroke& key) {
  Qt::KeyboardModifiers modifiers;
  if (key.shift) modifiers |= Qt::ShiftModifier;
  if (key.control) modifiers |= Qt::ControlModifier;
  if (key.alt) modifiers |= Qt::AltModifier;
  return modifiers;
}

// The Qt key and the text of a stroke. Qt names a character's key by its
// upper-case form.
std::pair<int, QString> QtKeyAndText(const KeyStroke& key) {
  if (key.virtual_key != 0) {
    const int qt_key = QtKeyOf(key.virtual_key);
    QString text;
    if (key.virtual_key == kVkReturn) text = "\r";
    else if (key.virtual_key == kVkTab) text = "\t";
    else if (key.virtual_key == kVkBackspace) text = "\b";
    return {qt_key, key.control || key.alt ? QString() : text};
  }
  const char32_t lower = Cp1252ToUnicode(key.character);
  const char32_t upper = Cp1252ToUnicode(static_cast<unsigned char>(UpperCp1252(static_cast<char>(key.character))));
  QString text = QString::fromUcs4(key.shift ? &upper : &lower, 1);
  if (key.control || key.alt) text.clear();
  return {static_cast<int>(upper), text};
}

QWidget* Target() {
  QWidget* focus = QApplication::focusWidget();
  return focus ? focus : MainForm();
}

void Deliver(QWidget* target, QKeyEvent* event, bool wait) {
  if (wait) {
    QCoreApplication::sendEvent(target, event);
    delete event;
  } else {
    QCoreApplication::postEvent(target, event);
  }
}

}  // namespace

void SendKeys(const std::string& keys, bool wait) {
  const ParsedKeys parsed = ParseSendKeys(keys);
  if (parsed.error != SendKeysError::None) {
    ShowPlain(SendKeysErrorText(parsed.error));
    return;
  }
  for (const KeyStroke& key : parsed.keys) {
    // A key processed at once can move the focus or close the window.
    QPointer<QWidget> target = Target();
    if (!target) return;
    const auto [qt_key, text] = QtKeyAndText(key);
    const Qt::KeyboardModifiers modifiers = ModifiersOf(key);
    Deliver(target, new QKeyEvent(QEvent::KeyPress, qt_key, modifiers, text), wait);
    if (!target) return;
    Deliver(target, new QKeyEvent(QEvent::KeyRelease, qt_key, modifiers, text), wait);
  }
}

}  // namespace vork
