#include "exercises/gapfill/gap_enter_key.h"

#include <QApplication>
#include <QKeyEvent>

namespace vork {

GapEnterKey::GapEnterKey(QObject* field) : QObject(field) { field->installEventFilter(this); }

bool GapEnterKey::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyRelease) return QObject::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  const bool plain = (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0 &&
                     QApplication::mouseButtons() == Qt::NoButton;
  if (enter && plain && !key->isAutoRepeat()) {
    // A copy: the handler may clear OnEnter (its gap freed) while it runs.
    const std::function<void()> handler = OnEnter;
    if (handler) handler();
  }
  return false;
}

}  // namespace vork
