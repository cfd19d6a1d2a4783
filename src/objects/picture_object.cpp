#include "objects/picture_object.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "objects/mouse_event_routine.h"
#include "objects/stage_control.h"
#include "resources/qt_picture.h"
#include "resources/res_manager.h"

namespace vork {

TVkButton::TVkButton(QWidget* parent) : QWidget(parent) {
  setGeometry(0, 0, 32, 32);
}

void TVkButton::SetBitmap(const QImage& picture) {
  bitmap_ = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
  PictureChanged();
}

void TVkButton::SetFrameCount(int count) {
  frame_count_ = std::max(count, 1);
  PictureChanged();
}

void TVkButton::SetFrame(int frame) {
  frame_ = frame;
  update();
}

void TVkButton::PictureChanged() {
  if (!bitmap_.isNull()) resize(bitmap_.width() / frame_count_, bitmap_.height());
  update();
}

void TVkButton::paintEvent(QPaintEvent*) {
  if (bitmap_.isNull()) return;
  // No erase step: only the frame's column is drawn.
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), bitmap_, QRect(frame_ * width(), 0, width(), bitmap_.height()));
}

void TVkButton::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (!rect().contains(at) || !OnMouseUp) return;
  // A copy: the handler may destroy this control (deleteLater) or reassign it.
  const auto handler = OnMouseUp;
  handler(MouseButtonFromQt(event->button()), ShiftStateFromQt(event->modifiers(), event->buttons()), at.x(),
          at.y());
}

void TVkPictureObject::Init() {
  control_ = new TVkButton(StageParent(View()));
  control_->OnMouseUp = [this](TMouseButton button, TShiftState shift, int x, int y) {
    MouseReleased(button, shift, x, y);
  };
  control_->show();
}

void TVkPictureObject::Release() {
  if (control_) {
    control_->OnMouseUp = nullptr;
    control_->hide();
    // Its own mouse event may be the one that runs this release.
    control_->deleteLater();
  }
  control_ = nullptr;
}

TVkButton& TVkPictureObject::RequireControl() const {
  return TVkScriptObject::RequireControl(control_, "Picture");
}

void TVkPictureObject::MouseReleased(TMouseButton button, TShiftState shift, int x, int y) {
  RunMouseEvent(*this, on_mouse_up_, button, shift, x, y);
}

void TVkPictureObject::HandleMessage(int32_t message) {
  switch (static_cast<PictureMessage>(message)) {
    case PictureMessage::Load: {
      const std::string name = PopString();
      RequireControl().SetBitmap(LoadBitmapImage(ResManager(), name));
      break;
    }
    case PictureMessage::SetOnMouseUp: on_mouse_up_ = PopInt(); break;
    case PictureMessage::SetLeft: {
      const int32_t x = PopInt();
      TVkButton& control = RequireControl();
      control.move(x, control.y());
      break;
    }
    case PictureMessage::SetTop: {
      const int32_t y = PopInt();
      TVkButton& control = RequireControl();
      control.move(control.x(), y);
      break;
    }
    case PictureMessage::SetBounds: {
      const Bounds b = PopBounds();
      RequireControl().setGeometry(b.left, b.top, std::max(b.width, 0), std::max(b.height, 0));
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
