#pragma once
// The fuse (dissolve): the picture is cut into cells of 8 x 8 pixels and, in
// 64 steps spread evenly over the duration, one pixel of every cell switches
// from the old picture to the new one in a fixed order.

#include <QImage>
#include <cstdint>

#include "scene/transition_effect.h"

namespace vork {

inline constexpr int kFuseSteps = 64;

// The step (1 .. 64) at which pixel (x, y) switches; x and y >= 0.
int FuseStepAt(int x, int y);
// How many steps are due `elapsed_ms` after the start: all of them once the
// duration is over (at once for a duration of 0).
int FuseStepsDue(std::int64_t elapsed_ms, int duration_ms);
// Switches the pixels of steps done + 1 .. due from `frame` to `next`
// (both Format_RGB32 and of one size).
void ApplyFuseSteps(QImage& frame, const QImage& next, int done, int due);

class TFuseTransition : public TTransitionEffect {
 public:
  explicit TFuseTransition(int duration_ms = 500) : TTransitionEffect(duration_ms) {}

 protected:
  // Timed by the player's clock: when drawing falls behind, the steps due
  // are applied together; the last frame is always the whole new picture.
  void Blend(const QImage& next) override;
};

}  // namespace vork
