#include "scene/background.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <exception>

#include "platform/errors.h"
#include "platform/message_boxes.h"
#include "scene/color_word.h"
#include "scene/developer_marks.h"
#include "scene/sprite.h"
#include "scene/view.h"

namespace vork {

namespace {

constexpr std::string_view kOverlayOff = "<MSG_LOG_OFF>";
constexpr std::string_view kOverlayOn = "<MSG_LOG_ON>";

// Exceptions never cross Qt's event dispatch: a fault while routing an event
// is shown in the standard error box and the player goes on.
template <class Action>
void AtEventBoundary(Action&& action) {
  try {
    action();
  } catch (const std::exception& error) {
    ShowError(error.what());
  }
}

}  // namespace

TBackground::TBackground(QWidget* parent) : QWidget(parent) {
  // The buffer covers every pixel, so the window system never needs to erase
  // the background first (erasing would flicker).
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  resize(200, 100);
}

TBackground::~TBackground() {
  // Nothing may reach the screen any more; the batch is deliberately never
  // closed.
  BeginUpdate();
  overlay_.Clear();
  // A sprite's destructor takes it off the list.
  while (sprites_.Count() > 0) delete sprites_.Item(0);
}

void TBackground::BeginUpdate() {
  if (update_count_ == 0) dirty_rect_ = QRect();
  update_count_ += 1;
}

void TBackground::EndUpdate() {
  if (update_count_ <= 0) throw EVkError("TBackground: Too many calls to EndUpdate");
  update_count_ -= 1;
  if (update_count_ == 0 && !dirty_rect_.isEmpty()) PaintRect(dirty_rect_);
}

void TBackground::InvalidateRect(const QRect& area) {
  if (area.isEmpty()) return;
  dirty_rect_ = dirty_rect_.isEmpty() ? area : dirty_rect_.united(area);
}

void TBackground::PaintRect(const QRect& area) {
  RenderToBuffer(area);
  CopyToWindow(area);
}

void TBackground::ResizeBuffer() {
  if (buffer_.size() == size()) return;
  // Keep what is there: outside the area being painted the old content is
  // still the current picture.
  QImage resized(size(), QImage::Format_RGB32);
  resized.fill(ColorFromWord(color_));
  if (!buffer_.isNull()) {
    QPainter painter(&resized);
    painter.drawImage(0, 0, buffer_);
  }
  buffer_ = std::move(resized);
}

void TBackground::RenderToBuffer(const QRect& requested) {
  ResizeBuffer();
  const QRect area = requested & buffer_.rect();
  if (area.isEmpty()) return;
  QPainter painter(&buffer_);
  painter.setClipRect(area);

  const QRect picture = bitmap_.isNull() ? QRect() : bitmap_.rect();
  if (!picture.contains(area)) painter.fillRect(area, ColorFromWord(color_));
  const QRect covered = area & picture;
  if (!covered.isEmpty()) {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(covered.topLeft(), bitmap_, covered);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }

  for (TSprite* sprite : sprites_) {
    if (!sprite->Visible() || !sprite->BoundsRect().intersects(area)) continue;
    painter.save();
    sprite->Paint(painter, area);
    painter.restore();
  }

  if (DeveloperMode()) {
    DrawDeveloperMarks(painter, sprites_, developer_view_style_,
                       capture_count_ > 0 ? captured_sprite_ : nullptr);
    if (overlay_.Visible() && developer_view_style_ != 2) overlay_.Draw(painter);
  }
}

void TBackground::CopyToWindow(const QRect& area) {
  // Inside our own paint event the event itself draws the buffer.
  if (in_paint_event_ || !isVisible()) return;
  copying_to_window_ = true;
  copy_area_ = area;
  RepaintNow(this, area);
  copying_to_window_ = false;
}

void TBackground::DrawBuffer(QPainter& painter, const QRect& area) const {
  const QRect inside = area & buffer_.rect();
  if (!inside.isEmpty()) painter.drawImage(inside.topLeft(), buffer_, inside);
  if (inside != area) {
    // Only before the first render after a resize.
    QRegion rest(area);
    rest -= inside;
    for (const QRect& part : rest) painter.fillRect(part, ColorFromWord(color_));
  }
}

void TBackground::paintEvent(QPaintEvent* event) {
  const QRect area = event->rect();
  in_paint_event_ = true;
  AtEventBoundary([&] {
    if (!copying_to_window_) {
      // A request from the window system: treat it as a change of that area.
      UpdateBatch batch(this);
      InvalidateRect(area);
    } else if (!copy_area_.contains(area)) {
      // Qt added areas of its own that were waiting to be painted.
      RenderToBuffer(area);
    }
  });
  in_paint_event_ = false;
  QPainter painter(this);
  DrawBuffer(painter, area);
}

void TBackground::SetOverlayVisible(bool visible) {
  if (!overlay_.SetVisible(visible)) return;
  UpdateBatch batch(this);
  InvalidateAll();
}

void TBackground::AddOverlayMessage(int kind, std::string_view text) {
  UpdateBatch batch(this);
  if (text == kOverlayOff) {
    SetOverlayVisible(false);
  } else if (text == kOverlayOn) {
    SetOverlayVisible(true);
  } else {
    overlay_.Append(kind, text);
    InvalidateAll();
  }
}

void TBackground::SetDeveloperViewStyle(int style) {
  if (style == developer_view_style_) return;
  developer_view_style_ = style;
  UpdateBatch batch(this);
  InvalidateAll();
}

void TBackground::SetColor(std::int32_t color) {
  if (color == color_) return;
  color_ = color;
  UpdateBatch batch(this);
  InvalidateAll();
}

void TBackground::SetAutoSize(bool auto_size) {
  auto_size_ = auto_size;
  AdjustSize();
}

void TBackground::SetBitmap(const QImage& picture) {
  bitmap_ = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
  UpdateBatch batch(this);
  AdjustSize();
  InvalidateAll();
}

void TBackground::AdjustSize() {
  if (auto_size_ && !bitmap_.isNull() && bitmap_.size() != size()) resize(bitmap_.size());
}

TSprite* TBackground::SpriteAt(int x, int y) const {
  for (int index = sprites_.Count() - 1; index >= 0; --index) {
    TSprite* sprite = sprites_.Item(index);
    if (!sprite->Visible() || !sprite->VisibleToMouse()) continue;
    if (!sprite->BoundsRect().contains(x, y)) continue;
    if (!sprite->IsOpaqueAt(x - sprite->Left(), y - sprite->Top())) continue;
    return sprite->Enabled() ? sprite : nullptr;
  }
  return nullptr;
}

void TBackground::ForgetSprite(const TSprite* sprite) {
  if (hover_sprite_ == sprite) hover_sprite_ = nullptr;
  if (captured_sprite_ == sprite) captured_sprite_ = nullptr;
}

void TBackground::ResetMouseState() {
  capture_count_ = 0;
  captured_sprite_ = nullptr;
  hover_sprite_ = nullptr;
}

void TBackground::ButtonDown(TMouseButton button, TShiftState shift, QPoint at) {
  if (capture_count_ == 0) captured_sprite_ = SpriteAt(at.x(), at.y());
  capture_count_ += 1;
  if (capture_count_ == 1) RedrawHeldSpriteRings();
  if (TSprite* sprite = captured_sprite_) {
    sprite->MouseDown(button, shift, at.x() - sprite->Left(), at.y() - sprite->Top());
  }
}

void TBackground::RedrawHeldSpriteRings() {
  // The rings mark the sprite while buttons are held: draw them at the press
  // and take them away at the last release, not at some later repaint.
  if (developer_view_style_ != 2 || !captured_sprite_) return;
  UpdateBatch batch(this);
  InvalidateRect(captured_sprite_->BoundsRect());
}

void TBackground::PointerMoved(TShiftState shift, QPoint at) {
  if (capture_count_ > 0) {
    if (TSprite* sprite = captured_sprite_) {
      sprite->MouseMove(shift, at.x() - sprite->Left(), at.y() - sprite->Top());
    }
    return;
  }
  // Enter and leave handlers run bytecode, which may destroy either sprite or
  // this background.
  const QPointer<TBackground> self(this);
  QPointer<TSprite> target(SpriteAt(at.x(), at.y()));
  if (TSprite* previous = hover_sprite_; previous != target.data()) {
    if (previous) previous->MouseLeave();
    if (!self) return;
    if (TSprite* entered = target.data()) entered->MouseEnter();
    if (!self) return;
  }
  if (TSprite* under = target.data()) {
    under->MouseMove(shift, at.x() - under->Left(), at.y() - under->Top());
    if (!self) return;
  }
  hover_sprite_ = target.data();
}

void TBackground::ButtonUp(TMouseButton button, TShiftState shift, QPoint at) {
  const QPointer<TBackground> self(this);
  if (TSprite* sprite = captured_sprite_) {
    sprite->MouseUp(button, shift, at.x() - sprite->Left(), at.y() - sprite->Top());
    if (!self) return;
  }
  if (capture_count_ > 0) {
    capture_count_ -= 1;
    if (capture_count_ == 0) RedrawHeldSpriteRings();
  }
}

void TBackground::mousePressEvent(QMouseEvent* event) {
  // The second press of a double click carries the double-click flag, as the
  // double-click message did on the original platform; the separate
  // double-click event that follows is not a further press.
  const bool double_click = event->flags().testFlag(Qt::MouseEventCreatedDoubleClick);
  const TShiftState shift = ShiftStateFromQt(event->modifiers(), event->buttons(), double_click);
  AtEventBoundary(
      [&] { ButtonDown(MouseButtonFromQt(event->button()), shift, event->position().toPoint()); });
}

void TBackground::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void TBackground::mouseMoveEvent(QMouseEvent* event) {
  const TShiftState shift = ShiftStateFromQt(event->modifiers(), event->buttons());
  AtEventBoundary([&] { PointerMoved(shift, event->position().toPoint()); });
}

void TBackground::mouseReleaseEvent(QMouseEvent* event) {
  const TShiftState shift = ShiftStateFromQt(event->modifiers(), event->buttons());
  AtEventBoundary(
      [&] { ButtonUp(MouseButtonFromQt(event->button()), shift, event->position().toPoint()); });
}

UpdateBatch::UpdateBatch(TBackground* background)
    : background_(background), exceptions_on_entry_(std::uncaught_exceptions()) {
  if (background_) background_->BeginUpdate();
}

UpdateBatch::~UpdateBatch() noexcept(false) {
  if (!background_) return;
  if (std::uncaught_exceptions() == exceptions_on_entry_) {
    background_->EndUpdate();
    return;
  }
  // Already unwinding: the first failure is the one to report.
  try {
    background_->EndUpdate();
  } catch (...) {
  }
}

}  // namespace vork
