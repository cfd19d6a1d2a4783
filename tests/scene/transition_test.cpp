// Stage transitions: capture, cover, and the blend from the old stage picture
// to the new one.

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWindow>
#include <deque>
#include <set>

#include "platform/clock.h"
#include "platform/player_host.h"
#include "scene/fuse_transition.h"
#include "scene/transition_cover.h"
#include "stage_fixture.h"

namespace vork::testing {
namespace {

TEST(FuseSteps, EachCellPositionHasItsOwnStep) {
  std::set<int> steps;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      steps.insert(FuseStepAt(x, y));
      EXPECT_EQ(FuseStepAt(x + 8, y + 16), FuseStepAt(x, y));
    }
  EXPECT_EQ(steps.size(), 64u);
  EXPECT_EQ(*steps.begin(), 1);
  EXPECT_EQ(*steps.rbegin(), 64);
  // A few positions straight from the step table.
  EXPECT_EQ(FuseStepAt(4, 4), 1);
  EXPECT_EQ(FuseStepAt(0, 0), 2);
  EXPECT_EQ(FuseStepAt(2, 5), 64);
  EXPECT_EQ(FuseStepAt(7, 7), 25);
  EXPECT_EQ(FuseStepAt(0, 7), 60);
}

TEST(FuseSteps, StepsAreSpreadEvenlyOverTheDuration) {
  struct Case {
    std::int64_t elapsed;
    int duration;
    int due;
  } cases[] = {
      {0, 500, 0},    {7, 500, 0},      {8, 500, 1},      {250, 500, 32}, {499, 500, 63},
      {500, 500, 64}, {90000, 500, 64}, {-5, 500, 0},     {0, 0, 64},     {3, 64, 3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FuseStepsDue(c.elapsed, c.duration), c.due) << c.elapsed << " of " << c.duration;
}

// A host whose clock answers with the given times in turn and then stays at
// the last one; its sleeps take no time.
class ScriptedClock : public PlayerHost {
 public:
  explicit ScriptedClock(std::deque<std::int64_t> times) : times_(std::move(times)) {}

  std::int64_t MonotonicMilliseconds() override {
    const std::int64_t now = times_.front();
    if (times_.size() > 1) times_.pop_front();
    return now;
  }
  void Sleep(std::int64_t) override {}

 private:
  std::deque<std::int64_t> times_;
  ScopedHost installed_{*this};
};

class TransitionTest : public StageTest {
 protected:
  void SetUp() override {
    StageTest::SetUp();
    stage->SetAutoSize(false);
    stage->SetColor(0x0000FF);  // red
    AddBox({40, 40, 100, 100}, Qt::green);
    old_picture = Screen();
  }

  // The scene change's rebuild: everything different, in one batch.
  void Rebuild() {
    UpdateBatch batch(stage);
    stage->SetColor(0xFF0000);  // blue
    delete stage->SpriteByIndex(0);
    AddBox({300, 200, 120, 80}, Qt::yellow);
  }

  int CoversLeft() const { return static_cast<int>(view->findChildren<TransitionCover*>().size()); }

  QImage old_picture;
};

TEST_F(TransitionTest, TheFuseSwitchesPixelsInTableOrderAsTheClockAdvances) {
  TFuseTransition fuse(500);
  fuse.Prepare(stage, stage->rect());
  Rebuild();
  const QImage new_picture = stage->grab().toImage().convertToFormat(QImage::Format_RGB32);

  std::vector<int> steps_seen;
  int mismatches = 0;
  int off_screen = 0;
  fuse.OnFrame = [&](int steps, const QImage& frame) {
    steps_seen.push_back(steps);
    for (int y = 0; y < frame.height(); ++y)
      for (int x = 0; x < frame.width(); ++x) {
        const QImage& expected = FuseStepAt(x, y) <= steps ? new_picture : old_picture;
        if (frame.pixel(x, y) != expected.pixel(x, y)) ++mismatches;
      }
    if (Screen() != frame) ++off_screen;
    if (steps == 12) SaveScreenshot(frame, "fuse_step_12");
    if (steps == 32) SaveScreenshot(frame, "fuse_step_32");
  };
  // Start at 1000; then 8 ms (one step), 16 ms (two), a late look at 100 ms
  // (twelve at once), 257 ms (32), and past the end.
  ScriptedClock clock({1000, 1008, 1016, 1100, 1257, 1600});
  fuse.Execute();

  EXPECT_EQ(steps_seen, (std::vector<int>{1, 2, 12, 32, 64}));
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(off_screen, 0) << "every frame is on screen when it is reported";
  EXPECT_EQ(Screen(), new_picture);
  EXPECT_EQ(CoversLeft(), 0);
}

TEST_F(TransitionTest, NothingOfTheRebuildIsSeenUntilExecute) {
  TFlickerFreeTransition transition;
  transition.Prepare(stage, stage->rect());
  QWidget* field = nullptr;
  {
    UpdateBatch batch(stage);
    Rebuild();
    // A child control made by the new scene, and a handler that lets the
    // event loop run (a synchronous sound) in the middle of the build.
    field = new QWidget(stage);
    field->setGeometry(500, 400, 60, 30);
    field->setAutoFillBackground(true);
    field->setPalette(QPalette(Qt::white));
    field->show();
    QApplication::processEvents();
    EXPECT_EQ(Screen(), old_picture);
  }
  QApplication::processEvents();
  EXPECT_EQ(Screen(), old_picture) << "the finished build is still covered";

  int frames = 0;
  transition.OnFrame = [&](int steps, const QImage&) {
    ++frames;
    EXPECT_EQ(steps, 1);
  };
  transition.Execute();
  EXPECT_EQ(frames, 1) << "one single copy";
  const QImage screen = Screen();
  SaveScreenshot(screen, "after_flicker_free");
  EXPECT_EQ(PixelAt(screen, 10, 10), QColor(Qt::blue));
  EXPECT_EQ(PixelAt(screen, 310, 210), QColor(Qt::yellow));
  EXPECT_EQ(PixelAt(screen, 510, 410), QColor(Qt::white)) << "child controls are part of the new picture";
  EXPECT_EQ(CoversLeft(), 0);
}

TEST_F(TransitionTest, ATransitionFreedBeforeExecuteUncoversTheStage) {
  {
    TFuseTransition fuse;
    fuse.Prepare(stage, stage->rect());
    ASSERT_TRUE(fuse.Prepared());
    Rebuild();
    EXPECT_EQ(Screen(), old_picture);
  }  // a failing scene change frees its transition here
  EXPECT_EQ(PixelAt(Screen(), 10, 10), QColor(Qt::blue));
  EXPECT_EQ(CoversLeft(), 0);
}

TEST_F(TransitionTest, WithTheWindowHiddenNothingIsCapturedAndTheStageStillUpdates) {
  view->hide();
  TFuseTransition fuse;
  int frames = 0;
  fuse.OnFrame = [&](int, const QImage&) { ++frames; };
  fuse.Prepare(stage, stage->rect());
  EXPECT_FALSE(fuse.Prepared());
  Rebuild();
  fuse.Execute();
  EXPECT_EQ(frames, 0);
  view->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  QApplication::processEvents();
  EXPECT_EQ(PixelAt(Screen(), 10, 10), QColor(Qt::blue));
}

// At the course's first scene the window has been shown but is not on
// screen yet: an instant effect has nothing to hide then and captures
// nothing; one with a duration still covers the stage, to fade in.
TEST_F(TransitionTest, BeforeTheWindowIsOnScreenOnlyAnEffectWithDurationCaptures) {
  QWidget window;
  window.resize(200, 100);
  auto* control = new QWidget(&window);
  control->setGeometry(0, 0, 200, 100);
  window.show();
  ASSERT_TRUE(window.isVisible());
  ASSERT_FALSE(window.windowHandle()->isExposed());

  TFlickerFreeTransition instant;
  instant.Prepare(control, control->rect());
  EXPECT_FALSE(instant.Prepared());
  TFuseTransition fuse(60);
  fuse.Prepare(control, control->rect());
  EXPECT_TRUE(fuse.Prepared());

  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  instant.Prepare(control, control->rect());
  EXPECT_TRUE(instant.Prepared()) << "once on screen the rebuild is hidden again";
}

TEST_F(TransitionTest, APersistentFuseCanBePreparedAndExecutedAgainAndTakesItsDuration) {
  TFuseTransition fuse(0);
  int frames = 0;
  fuse.OnFrame = [&](int, const QImage&) { ++frames; };
  fuse.Execute();  // nothing prepared: nothing to do
  EXPECT_EQ(frames, 0);

  fuse.Prepare(stage, stage->rect());
  Rebuild();
  fuse.Execute();
  EXPECT_EQ(frames, 1) << "a zero duration applies all steps at once";

  fuse.SetDuration(60);
  fuse.Prepare(stage, stage->rect());
  stage->SetColor(0x00FF00);
  QElapsedTimer timer;
  timer.start();
  fuse.Execute();
  EXPECT_GE(timer.elapsed(), 60);
  EXPECT_EQ(PixelAt(Screen(), 10, 10), QColor(Qt::green));
  EXPECT_EQ(CoversLeft(), 0);
}

}  // namespace
}  // namespace vork::testing
