#include "objects/html/person_object.h"

#include <QMouseEvent>
#include <QPainter>

#include "bridge/event_boundary.h"
#include "bridge/messages.h"
#include "objects/stage_control.h"
#include "resources/qt_picture.h"
#include "resources/res_manager.h"
#include "vm/processor.h"

namespace vork {

std::optional<int32_t> RegionAt(const QImage& region_map, int x, int y) {
  if (region_map.isNull()) return std::nullopt;
  const QColor pixel = region_map.valid(x, y) ? region_map.pixelColor(x, y) : QColor(255, 255, 255);
  if (pixel.red() > 128) return 0;
  if (pixel.green() > 128) return 1;
  if (pixel.blue() > 128) return 2;
  return std::nullopt;
}

TVkPerson::TVkPerson(QWidget* parent) : QWidget(parent) {
  setGeometry(0, 0, 32, 32);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TVkPerson::SetPicture(const QImage& picture) {
  picture_ = picture;
  if (!picture_.isNull()) resize(picture_.size());
  update();
}

void TVkPerson::paintEvent(QPaintEvent* event) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.drawImage(event->rect(), picture_, event->rect());
}

void TVkPerson::mousePressEvent(QMouseEvent* event) {
  event->accept();
  const QPoint at = event->position().toPoint();
  const std::optional<int32_t> region = RegionAt(region_map_, at.x(), at.y());
  if (!region || !OnRegionClick) return;
  const auto handler = OnRegionClick;  // the handler may release the owner
  handler(*region);
}

void TVkPersonObject::Init() {
  control_ = new TVkPerson(StageParent(View()));
  control_->OnRegionClick = [this](int32_t region) { RegionClicked(region); };
  control_->show();
}

void TVkPersonObject::Release() {
  if (control_) {
    control_->OnRegionClick = nullptr;
    control_->hide();
    control_->deleteLater();
  }
  control_ = nullptr;
}

TVkPerson& TVkPersonObject::RequireControl() const {
  return TVkScriptObject::RequireControl(control_, "Person");
}

void TVkPersonObject::RegionClicked(int32_t region) {
  if (on_click_ == 0) return;
  TVkProcessor& processor = Processor();
  const int32_t handle = Handle();
  const int32_t routine = on_click_;
  RunAtEventBoundary(processor, [&] {
    PushInt(handle);
    PushInt(region);
    processor.Run(routine);
  });
}

void TVkPersonObject::HandleMessage(int32_t message) {
  switch (static_cast<PersonMessage>(message)) {
    case PersonMessage::SetPosition: {
      const int32_t y = PopInt();
      const int32_t x = PopInt();
      TVkPerson& control = RequireControl();
      control.move(x, control.y());
      control.move(control.x(), y);
      break;
    }
    case PersonMessage::LoadPicture: {
      const std::string name = PopString();
      RequireControl().SetPicture(LoadBitmapImage(ResManager(), name));
      break;
    }
    case PersonMessage::LoadRegionMap: {
      const std::string name = PopString();
      RequireControl().SetRegionMap(LoadBitmapImage(ResManager(), name));
      break;
    }
    case PersonMessage::TextA: PushString(RequireControl().TextA); break;
    case PersonMessage::SetTextA: RequireControl().TextA = PopString(); break;
    case PersonMessage::TextB: PushString(RequireControl().TextB); break;
    case PersonMessage::SetTextB: RequireControl().TextB = PopString(); break;
    case PersonMessage::TextC: PushString(RequireControl().TextC); break;
    case PersonMessage::SetTextC: RequireControl().TextC = PopString(); break;
    case PersonMessage::SetOnClick: on_click_ = PopInt(); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
