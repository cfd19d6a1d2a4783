#pragma once
// A transition effect on a control: Prepare captures what the control shows
// and covers it with that picture; the caller then rebuilds the control
// (unseen, under the cover); Execute blends the cover from the captured
// picture to the control's new one and removes the cover.
//
// Execute blocks until the effect has finished and paints every frame
// synchronously. It processes no events: no timer or input can run bytecode
// (and change the scene) while the cover is up.

#include <QImage>
#include <QPointer>
#include <QRect>
#include <functional>

class QWidget;

namespace vork {

class TransitionCover;

class TTransitionEffect {
 public:
  explicit TTransitionEffect(int duration_ms);
  // Removes a cover still in place, so that a failure between Prepare and
  // Execute never leaves the stage hidden.
  virtual ~TTransitionEffect();
  TTransitionEffect(const TTransitionEffect&) = delete;
  TTransitionEffect& operator=(const TTransitionEffect&) = delete;

  int Duration() const { return duration_ms_; }
  // Negative durations count as 0.
  void SetDuration(int duration_ms);

  // Captures `area` (control coordinates) of the control and covers it.
  // Does nothing when the control or its window is not visible, nor, for an
  // effect without duration, before the window is first on screen. A second
  // Prepare replaces the first.
  void Prepare(QWidget* control, const QRect& area);
  // Blends to what the control shows now and uncovers it. Without a
  // successful Prepare it does nothing: the control already shows its new
  // picture.
  void Execute();
  bool Prepared() const { return !cover_.isNull(); }

  // Called after each frame is on screen with the number of steps done and
  // the frame shown; for tests and diagnostics.
  std::function<void(int steps_done, const QImage& frame)> OnFrame;

 protected:
  // Turns the cover's picture into `next` frame by frame, calling ShowFrame
  // after each change. `next` has the cover picture's size and format.
  virtual void Blend(const QImage& next) = 0;
  QImage& Frame();
  void ShowFrame(int steps_done);

 private:
  void RemoveCover();

  int duration_ms_;
  QPointer<QWidget> control_;
  QRect area_;
  QPointer<TransitionCover> cover_;
};

// Replaces the picture in one copy.
class TFlickerFreeTransition : public TTransitionEffect {
 public:
  TFlickerFreeTransition() : TTransitionEffect(0) {}

 protected:
  void Blend(const QImage& next) override;
};

}  // namespace vork
