#include "media/players/media_controls.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace vork {

TVkMediaControls::TVkMediaControls(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted from the strip (or black): no erase step.
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(0, 0);
}

void TVkMediaControls::SetStrip(const QImage& strip) {
  strip_ = strip.isNull() ? QImage() : strip.convertToFormat(QImage::Format_RGB32);
  Resize();
}

void TVkMediaControls::SetShowExtra(bool show) {
  if (show == show_extra_) return;
  show_extra_ = show;
  Resize();
}

void TVkMediaControls::Resize() {
  resize(strip_.width() - (show_extra_ ? 0 : CellWidth()), CellHeight());
  update();
}

void TVkMediaControls::SetExtraEnabled(bool enabled) {
  if (!enabled) SetState(kExtraButton, kDisabled);
  else if (State(kExtraButton) == kDisabled) SetState(kExtraButton, kNormal);
}

void TVkMediaControls::SetState(int button, ButtonState state) {
  if (button < 0 || button >= kButtons || states_[static_cast<size_t>(button)] == state) return;
  states_[static_cast<size_t>(button)] = state;
  update();
}

int TVkMediaControls::HitTest(int x, int y) const {
  if (!rect().contains(x, y) || CellWidth() <= 0) return kNoButton;
  int column = x / CellWidth();
  if (!show_extra_ && column >= kExtraButton) ++column;
  return column < kButtons ? column : kNoButton;
}

void TVkMediaControls::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  const int cell_width = CellWidth();
  const int cell_height = CellHeight();
  int left = 0;
  for (int button = 0; button < kButtons; ++button) {
    if (!Shown(button)) continue;
    const QRect cell(button * cell_width, State(button) * cell_height, cell_width, cell_height);
    painter.drawImage(QPoint(left, 0), strip_, cell);
    left += cell_width;
  }
}

void TVkMediaControls::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  pressed_ = HitTest(at.x(), at.y());
  if (pressed_ != kNoButton && State(pressed_) != kDisabled) SetState(pressed_, kPressed);
}

void TVkMediaControls::mouseMoveEvent(QMouseEvent* event) {
  // Qt sends moves here only while a button is held (the mouse is captured).
  if (pressed_ == kNoButton || State(pressed_) == kDisabled) return;
  const QPoint at = event->position().toPoint();
  SetState(pressed_, HitTest(at.x(), at.y()) == pressed_ ? kPressed : kNormal);
}

void TVkMediaControls::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int button = pressed_;
  pressed_ = kNoButton;
  if (button == kNoButton || State(button) != kPressed) return;
  SetState(button, kNormal);
  // The handlers run course code, which may free the bar: they run from
  // copies, and the bar is checked in between.
  QPointer<TVkMediaControls> self(this);
  if (const auto click = OnButtonClick) click(this, button);
  if (!self || button != kExtraButton) return;
  if (const auto extra = OnExtraClick) extra(this);
}

}  // namespace vork
