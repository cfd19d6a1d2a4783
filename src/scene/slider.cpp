#include "scene/slider.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "scene/background.h"

namespace vork {

namespace {

int ClampToInt(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(value, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace

int RoundHalfAway(double value) { return ClampToInt(std::round(value)); }

int RoundHalfEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  double rounded = below + 1;
  if (fraction < 0.5) {
    rounded = below;
  } else if (fraction == 0.5) {
    rounded = std::fmod(below, 2.0) == 0 ? below : below + 1;
  }
  return ClampToInt(rounded);
}

void TVkSlider::Add(TSprite* sprite, QPoint target_center) {
  const QPoint center = sprite->Center();
  Move move{sprite, static_cast<double>(center.x()), static_cast<double>(center.y()), 0, 0};
  if (steps_left_ > 0) {
    move.dx = (static_cast<double>(target_center.x()) - center.x()) / steps_left_;
    move.dy = (static_cast<double>(target_center.y()) - center.y()) / steps_left_;
  }
  moves_.push_back(move);
}

bool TVkSlider::Step() {
  if (steps_left_ <= 0) return false;
  steps_left_ -= 1;
  for (Move& move : moves_) {
    move.x += move.dx;
    move.y += move.dy;
    // A sprite freed by an earlier step's repaint fault or by bytecode
    // between ticks is skipped; the others go on.
    if (move.sprite) move.sprite->MoveCenterTo({RoundHalfAway(move.x), RoundHalfAway(move.y)});
  }
  return steps_left_ > 0;
}

int TVkSlider::LiveCount() const {
  return static_cast<int>(std::count_if(moves_.begin(), moves_.end(), [](const Move& move) { return !move.sprite.isNull(); }));
}

void TSpriteSlide::Start(TSprite* sprite, QPoint target_top_left) {
  sprite_ = sprite;
  steps_left_ = kSteps;
  x_ = sprite->Left();
  y_ = sprite->Top();
  dx_ = (target_top_left.x() - x_) / kSteps;
  dy_ = (target_top_left.y() - y_) / kSteps;
}

bool TSpriteSlide::Step() {
  if (!Running()) {
    Stop();
    return false;
  }
  steps_left_ -= 1;
  x_ += dx_;
  y_ += dy_;
  // Keep what is needed after the move: a repaint fault may leave through it.
  const bool more = steps_left_ >= 1;
  sprite_->SetPosition({RoundHalfEven(x_), RoundHalfEven(y_)});
  return more;
}

void TSpriteSlide::Stop() {
  sprite_ = nullptr;
  steps_left_ = 0;
}

}  // namespace vork
