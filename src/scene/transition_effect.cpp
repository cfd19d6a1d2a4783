#include "scene/transition_effect.h"

#include <QWidget>
#include <QWindow>

#include "scene/transition_cover.h"
#include "scene/view.h"

namespace vork {

namespace {

// Whether the control's window has been put on screen. Before that (at the
// course's first scene the window is still on its way) nothing of the
// control has been seen.
bool OnScreen(const QWidget& control) {
  const QWindow* window = control.window()->windowHandle();
  return window && window->isExposed();
}

QImage Capture(QWidget& control, const QRect& area) {
  return control.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}

// Removes the cover when Execute leaves, also by an exception.
class CoverRemoval {
 public:
  explicit CoverRemoval(std::function<void()> remove) : remove_(std::move(remove)) {}
  ~CoverRemoval() { remove_(); }
  CoverRemoval(const CoverRemoval&) = delete;
  CoverRemoval& operator=(const CoverRemoval&) = delete;

 private:
  std::function<void()> remove_;
};

}  // namespace

TTransitionEffect::TTransitionEffect(int duration_ms) { SetDuration(duration_ms); }

TTransitionEffect::~TTransitionEffect() { RemoveCover(); }

void TTransitionEffect::SetDuration(int duration_ms) { duration_ms_ = duration_ms < 0 ? 0 : duration_ms; }

void TTransitionEffect::Prepare(QWidget* control, const QRect& area) {
  RemoveCover();
  if (!control || !control->isVisible() || !control->window()->isVisible()) return;
  // An effect that takes no time only keeps the rebuild out of view: with
  // nothing seen yet there is nothing to keep, and capturing a window that
  // is not on screen costs a full render for no picture.
  if (duration_ms_ == 0 && !OnScreen(*control)) return;
  const QRect captured = area & control->rect();
  if (captured.isEmpty()) return;
  control_ = control;
  area_ = captured;
  // Above the control as a sibling where it has a parent, so that the
  // children the rebuild creates on the control stay under the cover too.
  QWidget* parent = control->parentWidget();
  const QRect geometry = parent ? QRect(control->mapTo(parent, captured.topLeft()), captured.size())
                                : captured;
  auto* cover = new TransitionCover(parent ? parent : control, geometry, Capture(*control, captured));
  cover->show();
  cover->raise();
  cover_ = cover;
}

void TTransitionEffect::Execute() {
  TransitionCover* cover = cover_.data();
  if (!cover) return;
  CoverRemoval removal([this] { RemoveCover(); });
  QWidget* control = control_.data();
  if (!control) return;
  // A cover on the control itself sits under children created since.
  if (cover->parentWidget() == control) cover->raise();
  const QImage next = Capture(*control, area_);
  if (next.size() != Frame().size()) {
    // The control changed size under the cover: no blend is possible.
    Frame() = next;
    ShowFrame(1);
    return;
  }
  Blend(next);
}

QImage& TTransitionEffect::Frame() { return cover_->Picture(); }

void TTransitionEffect::ShowFrame(int steps_done) {
  TransitionCover* cover = cover_.data();
  if (!cover) return;
  cover->ShowNow();
  if (OnFrame) OnFrame(steps_done, cover->Picture());
}

void TTransitionEffect::RemoveCover() {
  TransitionCover* cover = cover_.data();
  if (!cover) return;
  cover_ = nullptr;
  QWidget* parent = cover->parentWidget();
  const QRect geometry = cover->geometry();
  // Nothing of the cover is running (it only paints), so it can go at once.
  delete cover;
  // What was under the cover is on screen before this returns.
  if (parent && parent->isVisible()) RepaintNow(parent, geometry);
}

void TFlickerFreeTransition::Blend(const QImage& next) {
  Frame() = next;
  ShowFrame(1);
}

}  // namespace vork
