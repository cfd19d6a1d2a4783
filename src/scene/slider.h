#pragma once
// The two timed slides of drag-and-drop exercises, stepped by their owner's
// timer (the system object's, 30 ms apart):
// - TVkSlider, the group slide: several sprites travel, centre first, to
//   their targets in the same number of steps; positions round an exact
//   half away from zero.
// - TSpriteSlide, the single-sprite slide: one sprite's top-left travels to
//   a target; positions round an exact half to the even neighbour.
// The two roundings differ on purpose: stored courses were timed and laid
// out against them.
//
// A slide holds its sprites weakly: a sprite freed while it slides (its
// object destroyed by a scene change or by the bytecode) drops out of the
// slide, which goes on with the others.

#include <QPointer>
#include <QPoint>
#include <vector>

#include "scene/sprite.h"

namespace vork {

// Nearest integer; an exact half goes away from zero (2.5 -> 3, -2.5 -> -3).
int RoundHalfAway(double value);
// Nearest integer; an exact half goes to the even neighbour (2.5 -> 2, 3.5 -> 4).
int RoundHalfEven(double value);

class TVkSlider {
 public:
  static constexpr int kDefaultSteps = 10;

  explicit TVkSlider(int steps = kDefaultSteps) : steps_left_(steps) {}

  // Adds a move record: the sprite's centre travels from where it is now to
  // target over the slider's steps.
  void Add(TSprite* sprite, QPoint target_center);
  // One step of every record. Does nothing and answers false when no steps
  // are left; otherwise answers whether steps remain.
  bool Step();
  int StepsLeft() const { return steps_left_; }
  // Records whose sprite still exists.
  int LiveCount() const;

 private:
  struct Move {
    QPointer<TSprite> sprite;
    double x, y;    // current centre
    double dx, dy;  // change per step
  };

  std::vector<Move> moves_;
  int steps_left_;
};

class TSpriteSlide {
 public:
  static constexpr int kSteps = 10;

  // Starts (or restarts, replacing the running slide) the slide of sprite's
  // top-left to target.
  void Start(TSprite* sprite, QPoint target_top_left);
  // One step; answers whether the slide goes on. A slide whose sprite is
  // gone ends at once.
  bool Step();
  void Stop();
  bool Running() const { return steps_left_ > 0 && sprite_; }
  TSprite* Sprite() const { return sprite_; }

 private:
  QPointer<TSprite> sprite_;
  int steps_left_ = 0;
  double x_ = 0, y_ = 0;
  double dx_ = 0, dy_ = 0;
};

}  // namespace vork
