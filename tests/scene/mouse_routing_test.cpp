// The stage finds the sprite under the pointer, hands it presses, moves and
// releases as real Qt mouse events arrive, and lets the user drag sprites.

#include <functional>
#include <string>
#include <vector>

#include "stage_fixture.h"

namespace vork::testing {
namespace {

class MouseRoutingTest : public StageTest {
 protected:
  // Logs every event of `sprite` as "name:event" (mouse events with their
  // relative coordinates).
  void Record(TSprite* sprite, const std::string& name) {
    sprite->OnMouseDown = [this, name](TSprite*, TMouseButton button, TShiftState shift, int x,
                                       int y) {
      log.push_back(name + ":down" + std::to_string(static_cast<int>(button)) + " shift" +
                    std::to_string(shift) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    sprite->OnMouseMove = [this, name](TSprite*, TShiftState, int x, int y) {
      log.push_back(name + ":move " + std::to_string(x) + "," + std::to_string(y));
    };
    sprite->OnMouseClick = [this, name](TSprite*) { log.push_back(name + ":click"); };
    sprite->OnMouseEnter = [this, name](TSprite*) { log.push_back(name + ":enter"); };
    sprite->OnMouseLeave = [this, name](TSprite*) { log.push_back(name + ":leave"); };
    sprite->OnBeginMove = [this, name](TSprite*) { log.push_back(name + ":beginmove"); };
    sprite->OnEndMove = [this, name](TSprite*) { log.push_back(name + ":endmove"); };
  }
  std::vector<std::string> TakeLog() { return std::exchange(log, {}); }

  std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(MouseRoutingTest, HitTestFindsTheTopmostEnabledOpaqueSprite) {
  struct Case {
    const char* what;
    std::function<void(BoxSprite&)> change_top;
    QPoint at;
    const char* expected;  // "top", "bottom" or "none"
  };
  const Case cases[] = {
      {"later sprite is on top", [](BoxSprite&) {}, {60, 60}, "top"},
      {"only the bottom one there", [](BoxSprite&) {}, {20, 20}, "bottom"},
      {"nothing there", [](BoxSprite&) {}, {300, 300}, "none"},
      {"right and bottom edges are outside", [](BoxSprite&) {}, {150, 150}, "none"},
      {"disabled top shields the one below", [](BoxSprite& s) { s.SetEnabled(false); }, {60, 60}, "none"},
      {"hidden top is passed by", [](BoxSprite& s) { s.SetVisible(false); }, {60, 60}, "bottom"},
      {"top invisible to the mouse", [](BoxSprite& s) { s.SetVisibleToMouse(false); }, {60, 60}, "bottom"},
      {"transparent pixel of the top", [](BoxSprite& s) { s.SetHole({0, 0, 20, 20}); }, {60, 60}, "bottom"},
      {"transparent pixel of a disabled top",
       [](BoxSprite& s) { s.SetEnabled(false); s.SetHole({0, 0, 20, 20}); }, {60, 60}, "bottom"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BoxSprite* bottom = AddBox({0, 0, 100, 100}, Qt::red);
    BoxSprite* top = AddBox({50, 50, 100, 100}, Qt::blue);
    c.change_top(*top);
    TSprite* hit = stage->SpriteAt(c.at.x(), c.at.y());
    const std::string found = hit == top ? "top" : hit == bottom ? "bottom" : hit ? "?" : "none";
    EXPECT_EQ(found, c.expected);
    delete bottom;
    delete top;
  }
}

TEST_F(MouseRoutingTest, APressAndReleaseInsideTheTopSpriteIsItsClick) {
  BoxSprite* bottom = AddBox({0, 0, 100, 100}, Qt::red);
  BoxSprite* top = AddBox({50, 50, 100, 100}, Qt::blue);
  Record(bottom, "bottom");
  Record(top, "top");
  Press({60, 70}, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_TRUE(top->Pressed());
  Release({61, 71});
  EXPECT_FALSE(top->Pressed());
  // Shift 1 + left button 8; coordinates relative to the sprite.
  EXPECT_EQ(TakeLog(), (Log{"top:down0 shift9 10,20", "top:click"}));
}

TEST_F(MouseRoutingTest, OnlyALeftReleaseInsideTheSpriteWithoutAnUpHandlerClicks) {
  BoxSprite* sprite = AddBox({100, 100, 50, 50}, Qt::red);
  Record(sprite, "s");

  Press({110, 110});
  Release({300, 300});  // released outside
  Press({110, 110}, Qt::RightButton);
  Release({110, 110}, Qt::RightButton);
  EXPECT_EQ(TakeLog(), (Log{"s:down0 shift8 10,10", "s:down1 shift16 10,10"}));

  int ups = 0;
  sprite->OnMouseUp = [&](TSprite*, TMouseButton, TShiftState, int x, int y) {
    ++ups;
    EXPECT_EQ(QPoint(x, y), QPoint(20, 30));
  };
  Click({120, 130});
  Press({120, 130}, Qt::RightButton);
  Release({120, 130}, Qt::RightButton);  // right releases never reach OnMouseUp
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(TakeLog(), (Log{"s:down0 shift8 20,30", "s:down1 shift16 20,30"})) << "no click";
}

TEST_F(MouseRoutingTest, ADragMovesTheSpriteToTheFrontAndStaysInsideTheDragBounds) {
  BoxSprite* dragged = AddBox({100, 100, 100, 60}, Qt::red);
  BoxSprite* cover = AddBox({0, 0, 640, 480}, Qt::blue);
  cover->SetHole({90, 90, 30, 30});  // covers it, except where the drag starts
  dragged->SetCanMove(true);
  Record(dragged, "d");

  Press({110, 105});
  EXPECT_TRUE(dragged->Moving());
  EXPECT_EQ(dragged->ZOrder(), 1) << "brought to the front";
  EXPECT_EQ(dragged->StartCenter(), QPoint(150, 130));
  Move({160, 125});
  EXPECT_EQ(dragged->Position(), QPoint(150, 120));
  Move({900, 125});  // far beyond the right edge of (0, 0, 640, 480)
  EXPECT_EQ(dragged->Left(), 540);
  Move({-50, 600});
  EXPECT_EQ(dragged->Position(), QPoint(0, 420));
  Release({-50, 600});
  EXPECT_FALSE(dragged->Moving());

  const Log expected{"d:down0 shift8 10,5",  "d:beginmove",        "d:move 60,25",
                     "d:move 750,5",         "d:move -590,480",    "d:endmove"};
  EXPECT_EQ(TakeLog(), expected) << "a drag is not a click";
  EXPECT_EQ(PixelAt(Screen(), 10, 430), QColor(Qt::red)) << "drawn at its new place, on top";
}

TEST_F(MouseRoutingTest, DragBoundsClampPerAxisAndAnEmptyRectangleMeansNoLimit) {
  struct Case {
    const char* what;
    QRect bounds;
    QPoint drop;  // where the grab point (the sprite's top-left) is released
    QPoint expected;
  };
  const Case cases[] = {
      {"no limit", QRect(), {700, -30}, {700, -30}},
      {"left and top limits", QRect(20, 30, 600, 400), {-5, 0}, {20, 30}},
      {"right and bottom limits", QRect(20, 30, 600, 400), {600, 600}, {520, 370}},
      {"right limit wins for a sprite wider than the bounds", QRect(20, 30, 50, 400), {0, 40}, {-30, 40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BoxSprite* sprite = AddBox({100, 100, 100, 60}, Qt::red);
    sprite->SetCanMove(true);
    sprite->SetDragBounds(c.bounds);
    Press({100, 100});
    Move(c.drop);
    Release(c.drop);
    EXPECT_EQ(sprite->Position(), c.expected);
    delete sprite;
  }
}

TEST_F(MouseRoutingTest, AVetoedDragStepKeepsTheSpriteButTheDragGoesOn) {
  BoxSprite* sprite = AddBox({100, 100, 50, 50}, Qt::red);
  sprite->SetCanMove(true);
  Record(sprite, "s");
  std::vector<std::pair<QPoint, QPoint>> asked;
  bool allow = false;
  sprite->OnMove = [&](TSprite*, QPoint from, QPoint to, bool& can_move) {
    asked.emplace_back(from, to);
    if (!allow) can_move = false;
  };
  Press({110, 110});
  Move({130, 110});
  EXPECT_EQ(sprite->Position(), QPoint(100, 100));
  EXPECT_TRUE(sprite->Moving());
  allow = true;
  Move({140, 120});
  EXPECT_EQ(sprite->Position(), QPoint(130, 110));
  Move({150, 120});
  Release({150, 120});
  EXPECT_FALSE(sprite->Moving());
  const std::vector<std::pair<QPoint, QPoint>> expected{
      {{100, 100}, {120, 100}}, {{100, 100}, {130, 110}}, {{130, 110}, {140, 110}}};
  EXPECT_EQ(asked, expected) << "each step is asked from the last accepted position";
  EXPECT_EQ(TakeLog().back(), "s:endmove");
}

TEST_F(MouseRoutingTest, HoveringEntersAndLeavesSpritesAsThePointerCrossesThem) {
  BoxSprite* a = AddBox({0, 0, 100, 100}, Qt::red);
  BoxSprite* b = AddBox({50, 50, 100, 100}, Qt::blue);
  Record(a, "a");
  Record(b, "b");
  Move({10, 10});
  Move({20, 10});
  EXPECT_TRUE(a->MouseOver());
  Move({60, 60});
  EXPECT_FALSE(a->MouseOver());
  EXPECT_TRUE(b->MouseOver());
  Move({300, 300});
  EXPECT_FALSE(b->MouseOver());
  EXPECT_EQ(stage->HoverSprite(), nullptr);
  const Log expected{"a:enter", "a:move 10,10", "a:move 20,10", "a:leave",
                     "b:enter", "b:move 10,10", "b:leave"};
  EXPECT_EQ(TakeLog(), expected);
}

TEST_F(MouseRoutingTest, WhileButtonsAreHeldEverythingGoesToTheSpriteThatWasPressed) {
  BoxSprite* a = AddBox({0, 0, 100, 100}, Qt::red);
  BoxSprite* b = AddBox({200, 0, 100, 100}, Qt::blue);
  Record(a, "a");
  Record(b, "b");
  Press({10, 10});
  Move({250, 50});  // over b, but a holds the mouse
  Press({250, 50}, Qt::RightButton);
  EXPECT_EQ(stage->CaptureCount(), 2);
  Release({250, 50}, Qt::RightButton);
  Release({250, 50});
  EXPECT_EQ(stage->CaptureCount(), 0);
  Move({260, 50});  // free again: hover reaches b
  const Log expected{"a:down0 shift8 10,10", "a:move 250,50", "a:down1 shift24 250,50",
                     "b:enter", "b:move 60,50"};
  EXPECT_EQ(TakeLog(), expected) << "the release outside a is no click";
}

TEST_F(MouseRoutingTest, PressesOnEmptyStageAreCountedSoTheyDoNotReachALaterSprite) {
  BoxSprite* sprite = AddBox({100, 100, 50, 50}, Qt::red);
  Record(sprite, "s");
  Press({10, 10});
  Move({110, 110});
  Release({110, 110});
  EXPECT_EQ(TakeLog(), Log{}) << "press started on the bare stage";
  EXPECT_EQ(stage->CaptureCount(), 0);
}

TEST_F(MouseRoutingTest, ResetMouseStateForgetsHeldButtonsAndSprites) {
  BoxSprite* sprite = AddBox({100, 100, 50, 50}, Qt::red);
  Record(sprite, "s");
  Move({110, 110});
  Press({110, 110});
  stage->ResetMouseState();
  EXPECT_EQ(stage->CaptureCount(), 0);
  EXPECT_EQ(stage->CapturedSprite(), nullptr);
  EXPECT_EQ(stage->HoverSprite(), nullptr);
  TakeLog();
  Release({110, 110});
  EXPECT_EQ(TakeLog(), Log{});
}

TEST_F(MouseRoutingTest, HandlersMayDestroyTheirSpriteOrTheWholeStage) {
  // Each handler deletes what it is given; the routing must not touch it
  // afterwards (run under the sanitizer build to see a use after free).
  for (const char* event : {"down", "click", "enter", "move", "beginmove"}) {
    SCOPED_TRACE(event);
    BoxSprite* sprite = AddBox({100, 100, 50, 50}, Qt::red);
    sprite->SetCanMove(std::string(event) == "beginmove");
    const TNotifyEvent destroy = [](TSprite* s) { delete s; };
    const std::string which = event;
    if (which == "down") sprite->OnMouseDown = [](TSprite* s, TMouseButton, TShiftState, int, int) { delete s; };
    if (which == "click") sprite->OnMouseClick = destroy;
    if (which == "enter") sprite->OnMouseEnter = destroy;
    if (which == "move") sprite->OnMouseMove = [](TSprite* s, TShiftState, int, int) { delete s; };
    if (which == "beginmove") sprite->OnBeginMove = destroy;
    Move({110, 110});
    Press({110, 110});
    Move({115, 115});
    Release({115, 115});
    EXPECT_EQ(stage->SpriteCount(), 0);
    EXPECT_EQ(stage->CaptureCount(), 0);
  }

  BoxSprite* sprite = AddBox({100, 100, 50, 50}, Qt::red);
  sprite->OnMouseClick = [this](TSprite*) { view.reset(); };
  QPointer<TBackground> watched(stage);
  Click({110, 110});
  EXPECT_TRUE(watched.isNull());
}

}  // namespace
}  // namespace vork::testing
