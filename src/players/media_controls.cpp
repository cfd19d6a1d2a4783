#include "players/media_controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace vork {

TVkMediaControls::TVkMediaControls(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted from the strip (or black): no erase step.
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Reached with Tab only: a click on a button must not take the focus from
  // the field the learner is typing in.
  setFocusPolicy(Qt::TabFocus);
  resize(0, 0);
}

void TVkMediaControls::SetStrip(const QImage& strip) {
  strip_ = strip.isNull() ? QImage() : strip.convertToFormat(QImage::Format_RGB32);
  Resize();
}

void TVkMediaControls::SetShowExtra(bool show) {
  if (show == show_extra_) return;
  show_extra_ = show;
  if (!Shown(current_)) current_ = NextShown(current_, -1);
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
  if (hasFocus() && cell_width > 2 && cell_height > 2) {
    // Drawn in both colours so that it shows on any picture.
    const QRect outline(CellLeft(current_) + 1, 1, cell_width - 3, cell_height - 3);
    painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    painter.drawRect(outline);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(outline);
  }
}

int TVkMediaControls::CellLeft(int button) const {
  int left = 0;
  for (int before = 0; before < button; ++before)
    if (Shown(before)) left += CellWidth();
  return left;
}

int TVkMediaControls::NextShown(int from, int direction) const {
  for (int button = from + direction; button >= 0 && button < kButtons; button += direction)
    if (Shown(button)) return button;
  return from;
}

void TVkMediaControls::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
      current_ = NextShown(current_, event->key() == Qt::Key_Left ? -1 : 1);
      update();
      return;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!event->isAutoRepeat() && State(current_) != kDisabled) Click(current_);
      return;
    default: QWidget::keyPressEvent(event);
  }
}

void TVkMediaControls::focusInEvent(QFocusEvent* event) {
  update();
  QWidget::focusInEvent(event);
}

void TVkMediaControls::focusOutEvent(QFocusEvent* event) {
  update();
  QWidget::focusOutEvent(event);
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
  Click(button);
}

void TVkMediaControls::Click(int button) {
  // The handlers run course code, which may free the bar: they run from
  // copies, and the bar is checked in between.
  QPointer<TVkMediaControls> self(this);
  if (const auto click = OnButtonClick) click(this, button);
  if (!self || button != kExtraButton) return;
  if (const auto extra = OnExtraClick) extra(this);
}

}  // namespace vork
