// The two timed slides: where each step puts the sprites (their roundings
// differ), when they end, and that a sprite freed during a slide is left
// alone while the others go on.

#include "scene/slider.h"

#include <gtest/gtest.h>

#include "scene/stage_fixture.h"

namespace vork {
namespace {

using testing::BoxSprite;

TEST(SlideRounding, HalvesGoAwayFromZeroOrToEven) {
  struct Case {
    double value;
    int away;
    int even;
  };
  const Case cases[] = {
      {0.5, 1, 0},   {1.5, 2, 2},    {2.5, 3, 2},    {-0.5, -1, 0}, {-2.5, -3, -2},
      {-3.5, -4, -4}, {2.4999, 2, 2}, {2.5001, 3, 3}, {-7.2, -7, -7}, {1e12, 2147483647, 2147483647},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RoundHalfAway(c.value), c.away) << c.value;
    EXPECT_EQ(RoundHalfEven(c.value), c.even) << c.value;
  }
}

TEST(GroupSlide, CentresTravelInTenStepsRoundingAwayFromZero) {
  BoxSprite a(10, 10, Qt::red);   // centre (5, 5)
  BoxSprite b(10, 10, Qt::blue);
  b.SetPosition({100, 0});        // centre (105, 5)
  TVkSlider slider;
  slider.Add(&a, {10, 5});         // 0.5 a step to the right
  slider.Add(&b, {95, -5});        // 1 a step left and up
  std::vector<int> a_x;
  std::vector<bool> going;
  for (int step = 0; step < 10; ++step) {
    going.push_back(slider.Step());
    a_x.push_back(a.Center().x());
  }
  EXPECT_EQ(a_x, (std::vector<int>{6, 6, 7, 7, 8, 8, 9, 9, 10, 10}));
  EXPECT_EQ(going, (std::vector<bool>{true, true, true, true, true, true, true, true, true, false}));
  EXPECT_EQ(b.Center(), QPoint(95, -5));
  // A finished slide moves nothing.
  a.SetPosition({0, 0});
  EXPECT_FALSE(slider.Step());
  EXPECT_EQ(a.Position(), QPoint(0, 0));
}

TEST(GroupSlide, AFreedSpriteDropsOutAndTheOthersGoOn) {
  auto* a = new BoxSprite(10, 10, Qt::red);
  BoxSprite b(10, 10, Qt::blue);
  TVkSlider slider;
  slider.Add(a, {105, 5});
  slider.Add(&b, {5, 105});
  slider.Step();
  delete a;
  EXPECT_EQ(slider.LiveCount(), 1);
  while (slider.Step()) {
  }
  EXPECT_EQ(b.Center(), QPoint(5, 105));
}

TEST(SingleSlide, TopLeftTravelsInTenStepsRoundingHalvesToEven) {
  BoxSprite sprite(10, 10, Qt::red);
  TSpriteSlide slide;
  slide.Start(&sprite, {5, -10});
  std::vector<int> xs;
  while (slide.Running()) {
    slide.Step();
    xs.push_back(sprite.Left());
  }
  EXPECT_EQ(xs, (std::vector<int>{0, 1, 2, 2, 2, 3, 4, 4, 4, 5}));
  EXPECT_EQ(sprite.Position(), QPoint(5, -10));
  EXPECT_FALSE(slide.Step());
}

TEST(SingleSlide, ANewSlideReplacesTheRunningOneAndAFreedSpriteEndsIt) {
  BoxSprite first(10, 10, Qt::red);
  auto* second = new BoxSprite(10, 10, Qt::blue);
  TSpriteSlide slide;
  slide.Start(&first, {100, 0});
  slide.Step();
  slide.Start(second, {0, 100});
  EXPECT_EQ(slide.Sprite(), second);
  slide.Step();
  EXPECT_EQ(first.Position(), QPoint(10, 0));
  EXPECT_EQ(second->Position(), QPoint(0, 10));
  delete second;
  EXPECT_FALSE(slide.Running());
  EXPECT_FALSE(slide.Step());
}

}  // namespace
}  // namespace vork
