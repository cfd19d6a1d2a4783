#include "scene/sprite.h"

#include <QPointer>
#include <exception>
#include <string>

#include "platform/diagnostic_log.h"
#include "platform/errors.h"
#include "scene/background.h"

namespace vork {

TSprite::TSprite() = default;

TSprite::~TSprite() {
  try {
    LeaveBackground();
  } catch (const std::exception& error) {
    // Only the repaint of the stage without this sprite can fail here, and a
    // destructor cannot report it; the sprite is off the list by then.
    DiagnosticLog(std::string("sprite left the stage, repaint failed: ") + error.what());
  }
}

template <class Event, class... Args>
bool TSprite::Fire(const Event& event, Args... args) {
  if (!event) return true;
  const QPointer<TSprite> alive(this);
  // A copy, so that the handler may reassign or clear the event it runs in.
  const Event handler = event;
  handler(this, args...);
  return !alive.isNull();
}

void TSprite::LeaveBackground() {
  TBackground* old = background_;
  if (!old) return;
  old->ForgetSprite(this);
  UpdateBatch batch(old);
  old->sprites_.Remove(this);
  // Before the repaint at the end of the batch, which may fail.
  background_ = nullptr;
  // The whole stage, not just the sprite's bounds: a background without a
  // parent window still has to lose the sprite's picture.
  old->InvalidateAll();
}

void TSprite::SetBackground(TBackground* background) {
  if (background == background_) return;
  LeaveBackground();
  background_ = background;
  if (!background_) return;
  UpdateBatch batch(background_);
  background_->sprites_.Add(this);
  Invalidate();
}

void TSprite::Invalidate() {
  if (background_) background_->InvalidateRect(BoundsRect());
}

TBackground& TSprite::RequireBackground() const {
  if (!background_) throw EVkError("TSprite: Background not assigned");
  return *background_;
}

void TSprite::SetLeft(int left) {
  if (left == left_) return;
  UpdateBatch batch(background_);
  Invalidate();
  left_ = left;
  Invalidate();
}

void TSprite::SetTop(int top) {
  if (top == top_) return;
  UpdateBatch batch(background_);
  Invalidate();
  top_ = top;
  Invalidate();
}

void TSprite::SetPosition(QPoint position) {
  UpdateBatch batch(background_);
  SetLeft(position.x());
  SetTop(position.y());
}

void TSprite::SetBounds(int left, int top, int width, int height) {
  UpdateBatch batch(background_);
  SetLeft(left);
  SetTop(top);
  SetWidth(width);
  SetHeight(height);
}

QRect TSprite::BoundsRect() const { return QRect(left_, top_, Width(), Height()); }

QPoint TSprite::Center() const {
  // Integer division truncating towards zero, on (left + right) as a whole.
  const QRect bounds = BoundsRect();
  const int right = bounds.x() + bounds.width();
  const int bottom = bounds.y() + bounds.height();
  return {(bounds.x() + right) / 2, (bounds.y() + bottom) / 2};
}

void TSprite::MoveCenterTo(QPoint center) {
  const QPoint current = Center();
  SetPosition({center.x() + left_ - current.x(), center.y() + top_ - current.y()});
}

int TSprite::ZOrder() const { return RequireBackground().sprites_.IndexOf(this); }

void TSprite::SetZOrder(int index) {
  TBackground& background = RequireBackground();
  // Checked before the sprite leaves the list, so a bad index cannot lose it.
  if (index < 0 || index >= background.sprites_.Count()) {
    throw EVkError("TSprite: z-order " + std::to_string(index) + " out of range 0.." +
                   std::to_string(background.sprites_.Count() - 1));
  }
  UpdateBatch batch(&background);
  background.sprites_.Remove(this);
  background.sprites_.Insert(index, this);
  Invalidate();
}

void TSprite::BringToFront() {
  TBackground& background = RequireBackground();
  if (background.sprites_.IndexOf(this) == background.sprites_.Count() - 1) return;
  UpdateBatch batch(&background);
  background.sprites_.Remove(this);
  background.sprites_.Add(this);
  Invalidate();
}

void TSprite::SendToBack() {
  TBackground& background = RequireBackground();
  if (background.sprites_.IndexOf(this) == 0) return;
  UpdateBatch batch(&background);
  background.sprites_.Remove(this);
  background.sprites_.Insert(0, this);
  Invalidate();
}

void TSprite::SetVisible(bool visible) {
  if (visible == visible_) return;
  UpdateBatch batch(background_);
  visible_ = visible;
  Invalidate();
}

void TSprite::SetEnabled(bool enabled) {
  UpdateBatch batch(background_);
  enabled_ = enabled;
  Invalidate();
}

void TSprite::SetWidth(int) {}
void TSprite::SetHeight(int) {}

void TSprite::DoBeginMove() {
  start_center_ = Center();
  Fire(OnBeginMove);
}

void TSprite::DoEndMove() { Fire(OnEndMove); }

void TSprite::DoMouseClick() { Fire(OnMouseClick); }

void TSprite::DoMove(QPoint old_position, QPoint new_position, bool& allowed) {
  if (!OnMove) return;
  const TMoveEvent handler = OnMove;
  handler(this, old_position, new_position, allowed);
}

void TSprite::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!Fire(OnMouseDown, button, shift, x, y)) return;
  if (button != TMouseButton::Left) return;
  if (!can_move_) {
    pressed_ = true;
    return;
  }
  moving_ = true;
  grab_point_ = {x, y};
  last_position_ = Position();
  // The handler above may have taken the sprite off its background.
  if (background_) BringToFront();
  DoBeginMove();
}

void TSprite::MouseEnter() {
  mouse_over_ = true;
  Fire(OnMouseEnter);
}

void TSprite::MouseLeave() {
  mouse_over_ = false;
  Fire(OnMouseLeave);
}

QPoint TSprite::ClampToDragBounds(QPoint position) const {
  if (drag_bounds_.isEmpty()) return position;
  const int right = drag_bounds_.x() + drag_bounds_.width();
  const int bottom = drag_bounds_.y() + drag_bounds_.height();
  // The right and bottom limits are applied last, so they win for a sprite
  // larger than the bounds.
  int x = std::max(position.x(), drag_bounds_.x());
  if (x + Width() > right) x = right - Width();
  int y = std::max(position.y(), drag_bounds_.y());
  if (y + Height() > bottom) y = bottom - Height();
  return {x, y};
}

void TSprite::MouseMove(TShiftState shift, int x, int y) {
  if (!Fire(OnMouseMove, shift, x, y)) return;
  if (!moving_) return;
  const QPoint target = ClampToDragBounds({x + left_ - grab_point_.x(), y + top_ - grab_point_.y()});
  bool allowed = can_move_;
  const QPointer<TSprite> alive(this);
  DoMove(last_position_, target, allowed);
  if (!alive || !allowed) return;
  SetPosition(target);
  last_position_ = Position();
}

void TSprite::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button != TMouseButton::Left) return;
  if (moving_) {
    moving_ = false;
    DoEndMove();
    return;
  }
  pressed_ = false;
  if (OnMouseUp) {
    Fire(OnMouseUp, button, shift, x, y);
  } else if (x >= 0 && x < Width() && y >= 0 && y < Height()) {
    DoMouseClick();
  }
}

}  // namespace vork
