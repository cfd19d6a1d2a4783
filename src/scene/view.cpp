#include "scene/view.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPalette>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "scene/background.h"
#include "scene/color_word.h"

namespace vork {

namespace {

class PrivateMessage : public QEvent {
 public:
  PrivateMessage(int type, int32_t wparam, int32_t lparam)
      : QEvent(static_cast<QEvent::Type>(type)), wparam_(wparam), lparam_(lparam) {}
  int32_t WParam() const { return wparam_; }
  int32_t LParam() const { return lparam_; }

 private:
  int32_t wparam_;
  int32_t lparam_;
};

}  // namespace

void RepaintNow(QWidget* widget, const QRect& area) {
  widget->repaint(area);
  QGraphicsProxyWidget* proxy = widget->window()->graphicsProxyWidget();
  if (!proxy || !proxy->scene() || !widget->isVisible()) return;
  const QRectF in_scene =
      proxy->mapRectToScene(QRectF(QRect(widget->mapTo(widget->window(), area.topLeft()), area.size())));
  for (QGraphicsView* view : proxy->scene()->views()) {
    // One pixel more on each side: a scaled edge may cover part of one.
    view->viewport()->repaint(view->mapFromScene(in_scene).boundingRect().adjusted(-1, -1, 1, 1));
  }
}

int RegisteredMessage(const char* name) {
  // The view looks its two messages up for every event it gets: finding a
  // registered name must not allocate, or a failed allocation would throw
  // out of an event handler into Qt, which does not survive it.
  static std::map<std::string, int, std::less<>> registered;
  if (auto it = registered.find(std::string_view(name)); it != registered.end()) return it->second;
  return registered.emplace(name, QEvent::registerEventType()).first->second;
}

TVkView::TVkView(QWidget* parent, QSize scene_size) : QWidget(parent) {
  // Registered here, where a failure can be reported, and not first in event().
  RegisteredMessage(kTransitionToMessage);
  RegisteredMessage(kCallNotifyHandlerMessage);
  setFixedSize(scene_size);
  setAutoFillBackground(true);
  SetViewColor(0);
  background_ = new TVkBackground(this);
  background_->setGeometry(0, 0, scene_size.width(), scene_size.height());
}

void TVkView::SetViewColor(int32_t color) {
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, ColorFromWord(color));
  setPalette(palette);
}

void TVkView::PostTransitionTo(int32_t system_object, int32_t routine) {
  QCoreApplication::postEvent(
      this, new PrivateMessage(RegisteredMessage(kTransitionToMessage), system_object, routine));
}

void TVkView::PostCallNotifyHandler(int32_t system_object, int32_t routine) {
  QCoreApplication::postEvent(
      this, new PrivateMessage(RegisteredMessage(kCallNotifyHandlerMessage), system_object, routine));
}

bool TVkView::event(QEvent* event) {
  if (event->type() == RegisteredMessage(kTransitionToMessage)) {
    auto* message = static_cast<PrivateMessage*>(event);
    if (OnTransitionTo) {
      // Copies: the handler may end the course and clear these members.
      auto transition = OnTransitionTo;
      transition(message->WParam(), message->LParam());
      if (message->LParam() == 0 && OnQuit) {
        auto quit = OnQuit;
        quit();
      }
    }
    return true;
  }
  if (event->type() == RegisteredMessage(kCallNotifyHandlerMessage)) {
    auto* message = static_cast<PrivateMessage*>(event);
    if (OnCallNotifyHandler) {
      auto call = OnCallNotifyHandler;
      call(message->WParam(), message->LParam());
    }
    return true;
  }
  return QWidget::event(event);
}

}  // namespace vork
