#include "objects/stage_control.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

#include "scene/background.h"
#include "scene/color_word.h"
#include "scene/view.h"

namespace vork {

QWidget* StageParent(TVkView* view) { return view ? view->Background() : nullptr; }

namespace {

// The focus asked for while the main window is disabled (a scene is being
// built behind a disabled window): Qt ignores it then, so it is given when
// the window is enabled again. The last control to ask wins, as it would
// have with an enabled window.
class DeferredFocus : public QObject {
 public:
  static void Request(QWidget* window, QWidget* control) {
    static QPointer<DeferredFocus> pending;
    DeferredFocus* current = pending.data();
    if (current == nullptr || current->parent() != window) {
      delete current;
      current = new DeferredFocus(window);
      pending = current;
    }
    current->target_ = control;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::EnabledChange && window->isEnabled()) {
      if (target_) target_->setFocus(Qt::OtherFocusReason);
      deleteLater();
    }
    return false;
  }

 private:
  explicit DeferredFocus(QWidget* window) : QObject(window) { window->installEventFilter(this); }

  QPointer<QWidget> target_;
};

}  // namespace

void FocusControl(QWidget* control) {
  QWidget* window = control->window();
  if (!window->isEnabled()) {
    DeferredFocus::Request(window, control);
    return;
  }
  control->setFocus(Qt::OtherFocusReason);
  if (window->isVisible() && !window->isActiveWindow()) window->activateWindow();
}

void SetControlColor(QWidget* control, QPalette::ColorRole role, int32_t color) {
  QPalette palette = control->palette();
  palette.setColor(role, ColorFromWord(color));
  control->setPalette(palette);
}

}  // namespace vork
