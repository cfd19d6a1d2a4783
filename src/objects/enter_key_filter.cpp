#include "objects/enter_key_filter.h"

#include <QEvent>
#include <QKeyEvent>

namespace vork {

EnterKeyFilter::EnterKeyFilter(QObject* target) : QObject(target) { target->installEventFilter(this); }

bool EnterKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  // A copy: the handler may clear OnEnter (its object released) while it runs.
  const std::function<void()> handler = OnEnter;
  if (handler) handler();
  return true;
}

}  // namespace vork
