#pragma once
// A windowless sprite on the stage background. It has no picture of its own:
// its size, drawing and hit test come from a concrete subclass.
//
// Every event handler may run bytecode, and bytecode may destroy the sprite
// or its background; the mouse operations therefore re-check that the sprite
// is still alive after firing each event before touching their fields.

#include <QObject>
#include <QPoint>
#include <QRect>
#include <functional>

#include "scene/mouse_input.h"

class QPainter;

namespace vork {

class TBackground;
class TSprite;

using TNotifyEvent = std::function<void(TSprite* sender)>;
using TMouseEvent =
    std::function<void(TSprite* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TSprite* sender, TShiftState shift, int x, int y)>;
// Asked before every drag step; clearing ACanMove vetoes the step.
using TMoveEvent = std::function<void(TSprite* Sender, QPoint OldPosition, QPoint NewPosition,
                                      bool& ACanMove)>;

// A QObject only so that re-entrant code can hold a QPointer to it.
class TSprite : public QObject {
 public:
  TSprite();
  // Leaves the background first.
  ~TSprite() override;
  TSprite(const TSprite&) = delete;
  TSprite& operator=(const TSprite&) = delete;

  TBackground* Background() const { return background_; }
  // Moves the sprite to the top of `background` (nullptr: onto no background).
  virtual void SetBackground(TBackground* background);

  int Left() const { return left_; }
  void SetLeft(int left);
  int Top() const { return top_; }
  void SetTop(int top);
  int Width() const { return GetWidth(); }
  int Height() const { return GetHeight(); }
  QPoint Position() const { return {left_, top_}; }
  void SetPosition(QPoint position);
  void SetBounds(int left, int top, int width, int height);
  QRect BoundsRect() const;
  QPoint Center() const;
  void MoveCenterTo(QPoint center);

  // Z-order operations raise "TSprite: Background not assigned" without a
  // background.
  int ZOrder() const;
  void SetZOrder(int index);
  void BringToFront();
  void SendToBack();

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  bool CanMove() const { return can_move_; }
  void SetCanMove(bool can_move) { can_move_ = can_move; }
  bool VisibleToMouse() const { return visible_to_mouse_; }
  void SetVisibleToMouse(bool visible) { visible_to_mouse_ = visible; }
  // An empty rectangle means no limit.
  QRect DragBounds() const { return drag_bounds_; }
  void SetDragBounds(const QRect& bounds) { drag_bounds_ = bounds; }
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  bool MouseOver() const { return mouse_over_; }
  bool Moving() const { return moving_; }
  bool Pressed() const { return pressed_; }
  QPoint StartCenter() const { return start_center_; }

  TNotifyEvent OnBeginMove;
  TNotifyEvent OnEndMove;
  TNotifyEvent OnMouseClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TMoveEvent OnMove;

  // Called by the background; x and y are relative to the sprite's top-left.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

  // Draws the sprite onto the background's buffer; the painter is clipped to
  // `clip`, the area being repainted, in background coordinates.
  virtual void Paint(QPainter& canvas, const QRect& clip) = 0;
  // x and y relative to the top-left.
  virtual bool IsOpaqueAt(int x, int y) const = 0;
  virtual void SetWidth(int width);
  virtual void SetHeight(int height);

 protected:
  virtual void DoBeginMove();
  virtual void DoEndMove();
  virtual int GetHeight() const = 0;
  virtual int GetWidth() const = 0;
  virtual void DoMouseClick();
  virtual void DoMove(QPoint old_position, QPoint new_position, bool& allowed);

  // Adds the sprite's bounds to the background's dirty rectangle.
  void Invalidate();

 private:
  TBackground& RequireBackground() const;
  void LeaveBackground();
  QPoint ClampToDragBounds(QPoint position) const;
  // Fires `event` (when assigned) with this sprite as sender; false when the
  // handler destroyed the sprite.
  template <class Event, class... Args>
  bool Fire(const Event& event, Args... args);

  TBackground* background_ = nullptr;
  QPoint start_center_;
  bool can_move_ = false;
  bool pressed_ = false;
  bool enabled_ = true;
  int left_ = 0;
  bool visible_to_mouse_ = true;
  bool mouse_over_ = false;
  QPoint grab_point_;
  QPoint last_position_;
  QRect drag_bounds_{0, 0, 640, 480};
  bool moving_ = false;
  int tag_ = 0;
  int top_ = 0;
  bool visible_ = true;
};

}  // namespace vork
