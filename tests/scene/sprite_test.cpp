// Sprites on and between backgrounds: geometry, z-order and ownership.

#include <QScreen>
#include <QTest>

#include "platform/errors.h"
#include "stage_fixture.h"

namespace vork::testing {
namespace {

using SpriteTest = StageTest;

TEST(SpriteGeometry, CenterTruncatesTowardsZero) {
  struct Case {
    QRect bounds;
    QPoint center;
  } cases[] = {
      {{0, 0, 10, 10}, {5, 5}},
      {{0, 0, 11, 9}, {5, 4}},
      {{-11, -11, 10, 10}, {-6, -6}},  // (-11 + -1) / 2
      {{-10, -3, 5, 2}, {-7, -2}},     // (-10 + -5) / 2 = -7.5, (-3 + -1) / 2
  };
  for (const Case& c : cases) {
    BoxSprite sprite(c.bounds.width(), c.bounds.height(), Qt::red);
    sprite.SetPosition(c.bounds.topLeft());
    EXPECT_EQ(sprite.Center(), c.center) << c.bounds.x() << "," << c.bounds.y();
  }
}

TEST(SpriteGeometry, MoveCenterToAndSetBoundsWithoutABackground) {
  BoxSprite sprite(20, 10, Qt::red);
  sprite.MoveCenterTo({100, 50});
  EXPECT_EQ(sprite.BoundsRect(), QRect(90, 45, 20, 10));
  sprite.SetBounds(1, 2, 30, 40);
  EXPECT_EQ(sprite.BoundsRect(), QRect(1, 2, 30, 40));
}

TEST(SpriteGeometry, ZOrderNeedsABackground) {
  BoxSprite sprite(20, 10, Qt::red);
  const std::function<void()> operations[] = {
      [&] { (void)sprite.ZOrder(); }, [&] { sprite.SetZOrder(0); },
      [&] { sprite.BringToFront(); }, [&] { sprite.SendToBack(); }};
  for (const auto& operation : operations) {
    try {
      operation();
      ADD_FAILURE() << "no exception";
    } catch (const EVkError& error) {
      EXPECT_STREQ(error.what(), "TSprite: Background not assigned");
    }
  }
}

TEST_F(SpriteTest, ZOrderOperationsReorderTheStage) {
  BoxSprite* a = AddBox({0, 0, 50, 50}, Qt::red);
  BoxSprite* b = AddBox({10, 10, 50, 50}, Qt::green);
  BoxSprite* c = AddBox({20, 20, 50, 50}, Qt::blue);
  const auto order = [&] {
    std::string names;
    for (TSprite* s : stage->Sprites()) names += s == a ? 'a' : s == b ? 'b' : 'c';
    return names;
  };
  EXPECT_EQ(order(), "abc");
  a->BringToFront();
  EXPECT_EQ(order(), "bca");
  a->SendToBack();
  EXPECT_EQ(order(), "abc");
  c->SetZOrder(1);
  EXPECT_EQ(order(), "acb");
  EXPECT_EQ(c->ZOrder(), 1);
  EXPECT_EQ(PixelAt(Screen(), 25, 25), QColor(Qt::green)) << "b is drawn last";

  EXPECT_THROW(c->SetZOrder(3), EVkError);
  EXPECT_THROW(c->SetZOrder(-1), EVkError);
  EXPECT_EQ(order(), "acb") << "a bad index loses no sprite";
}

TEST_F(SpriteTest, MovingASpriteToAnotherStageTakesItsPictureAndMouseAlong) {
  TVkBackground other(view.get());
  other.setGeometry(0, 0, 640, 480);
  BoxSprite* sprite = AddBox({10, 10, 20, 20}, Qt::red);
  Move({15, 15});
  Press({15, 15});
  ASSERT_EQ(stage->HoverSprite(), sprite);
  ASSERT_EQ(stage->CapturedSprite(), sprite);

  sprite->SetBackground(&other);
  EXPECT_EQ(sprite->Background(), &other);
  EXPECT_EQ(stage->SpriteCount(), 0);
  EXPECT_EQ(other.SpriteByIndex(0), sprite);
  EXPECT_EQ(stage->HoverSprite(), nullptr);
  EXPECT_EQ(stage->CapturedSprite(), nullptr);
  EXPECT_EQ(PixelAt(stage->grab().toImage(), 15, 15), QColor(Qt::black));
  EXPECT_EQ(PixelAt(other.grab().toImage(), 15, 15), QColor(Qt::red));
  Release({15, 15});
}

TEST_F(SpriteTest, ASpriteRemovedFromAParentlessStageDisappears) {
  TVkBackground lone;
  lone.resize(100, 100);
  lone.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&lone));
  const auto on_screen = [&] { return lone.screen()->grabWindow(lone.winId()).toImage(); };
  BoxSprite* sprite = new BoxSprite(20, 20, Qt::red);
  sprite->SetBackground(&lone);
  EXPECT_EQ(PixelAt(on_screen(), 5, 5), QColor(Qt::red));
  sprite->SetBackground(nullptr);
  EXPECT_EQ(PixelAt(on_screen(), 5, 5), QColor(Qt::black));
  delete sprite;
}

TEST_F(SpriteTest, TheStageFreesItsSpritesAndADeletedSpriteLeavesIt) {
  QPointer<BoxSprite> kept = AddBox({0, 0, 10, 10}, Qt::red);
  BoxSprite* deleted = AddBox({20, 0, 10, 10}, Qt::green);
  QPointer<BoxSprite> last = AddBox({40, 0, 10, 10}, Qt::blue);
  delete deleted;
  EXPECT_EQ(stage->SpriteCount(), 2);
  EXPECT_EQ(stage->SpriteByIndex(1), last.data());
  view.reset();
  EXPECT_TRUE(kept.isNull());
  EXPECT_TRUE(last.isNull());
}

}  // namespace
}  // namespace vork::testing
