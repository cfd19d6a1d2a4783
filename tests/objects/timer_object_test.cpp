// Timer objects: ticks from the event loop, the restart rule, interval 0,
// and tick routines that fault or destroy their own timer.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include "objects/timer_object.h"
#include "support/objects_fixture.h"

namespace vork::testing {
namespace {

class TimerTest : public ObjectsTest {
 protected:
  int32_t timer = Create(ClassIndex::Timer);

  TVkTimerObject& Timer() { return dynamic_cast<TVkTimerObject&>(*manager->Find(timer)); }
  void Start(int32_t interval, const char* routine) {
    Send(timer, TimerMessage::SetInterval, {interval});
    Send(timer, TimerMessage::SetOnTick, {routine ? Entry(routine) : 0});
    Send(timer, TimerMessage::Start);
  }
  bool WaitForTicks(int ticks) {
    return QTest::qWaitFor([&] { return Global("ticks") >= ticks; }, 5000);
  }
};

TEST_F(TimerTest, StartsStoppedWithOneSecondAndNoRoutine) {
  EXPECT_EQ(SendForWord(timer, TimerMessage::Interval), 1000);
  EXPECT_EQ(SendForWord(timer, TimerMessage::OnTick), 0);
  EXPECT_FALSE(Timer().Running());
  Send(timer, TimerMessage::SetInterval, {10});
  Send(timer, TimerMessage::SetOnTick, {Entry("count")});
  EXPECT_EQ(SendForWord(timer, TimerMessage::Interval), 10);
  EXPECT_EQ(SendForWord(timer, TimerMessage::OnTick), Entry("count"));
  Pump(60);
  EXPECT_EQ(Global("ticks"), 0) << "setting the interval does not start the timer";
}

TEST_F(TimerTest, TicksRepeatWithItsHandleUntilStopped) {
  Start(10, "count");
  EXPECT_EQ(Global("ticks"), 0) << "no tick before the event loop runs";
  ASSERT_TRUE(WaitForTicks(3));
  EXPECT_EQ(Global("last"), timer);
  Send(timer, TimerMessage::Stop);
  const int32_t stopped_at = Global("ticks");
  Pump(60);
  EXPECT_EQ(Global("ticks"), stopped_at);
  EXPECT_EQ(stack.Length(), 0);
  EXPECT_EQ(Boxes(), "");
}

// Message 4 on a running timer, and a new interval on it (message 0), both
// count a full interval from then on. Interval 400: the tick due 400 ms after
// the start must not come when the count started again 250 ms in.
TEST_F(TimerTest, RestartAndNewIntervalCountAFullIntervalFromThen) {
  for (const bool by_new_interval : {false, true}) {
    SCOPED_TRACE(by_new_interval ? "new interval" : "start again");
    Send(timer, TimerMessage::Stop);
    Start(400, "count");
    const int32_t ticks = Global("ticks");
    Pump(250);
    if (Global("ticks") != ticks) GTEST_SKIP() << "the event loop was held up past a whole interval";
    if (by_new_interval) Send(timer, TimerMessage::SetInterval, {400});
    else Send(timer, TimerMessage::Start);
    QElapsedTimer since_restart;
    since_restart.start();
    Pump(300);
    if (since_restart.elapsed() >= 400) GTEST_SKIP() << "the event loop was held up past a whole interval";
    EXPECT_EQ(Global("ticks"), ticks);
    ASSERT_TRUE(WaitForTicks(ticks + 1));
    EXPECT_GE(since_restart.elapsed(), 400);
  }
}

TEST_F(TimerTest, IntervalZeroArmsNothingUntilAPositiveIntervalIsSet) {
  for (int32_t idle : {0, -5}) {
    Start(idle, "count");
    EXPECT_TRUE(Timer().Running());
    EXPECT_FALSE(Timer().Armed());
    Pump(60);
    EXPECT_EQ(Global("ticks"), 0) << "interval " << idle;
    EXPECT_EQ(SendForWord(timer, TimerMessage::Interval), idle);
  }
  Send(timer, TimerMessage::SetInterval, {10});
  EXPECT_TRUE(WaitForTicks(2));
}

TEST_F(TimerTest, TickWithoutRoutineIsSilent) {
  Start(10, nullptr);
  Pump(60);
  EXPECT_EQ(stack.Length(), 0);
  EXPECT_EQ(Boxes(), "");
  Send(timer, TimerMessage::SetOnTick, {Entry("count")});  // takes effect at the next tick
  EXPECT_TRUE(WaitForTicks(1));
}

TEST_F(TimerTest, FaultingTickIsShownAndTheTimerGoesOn) {
  Start(10, "fault");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Boxes() == "error: Error code = 11\nerror: Error code = 11\n"; }, 5000))
      << Boxes();
  EXPECT_EQ(stack.Length(), 0);
  EXPECT_TRUE(Timer().Running());
}

TEST_F(TimerTest, TickRoutineMayDestroyItsOwnTimer) {
  Start(10, "destroy");
  ASSERT_TRUE(WaitForTicks(1));
  EXPECT_FALSE(manager->IsLive(timer));
  Pump(60);
  EXPECT_EQ(Global("ticks"), 1);
  EXPECT_EQ(Boxes(), "");
}

TEST_F(TimerTest, SceneChangeStopsTheTicks) {
  Start(10, "count");
  manager->ReleaseSceneObjects();
  EXPECT_FALSE(manager->IsLive(timer));
  Pump(60);
  EXPECT_EQ(Global("ticks"), 0);
}

TEST_F(TimerTest, NoTickAfterTheCourseHasEnded) {
  Start(10, "count");
  processor.Halt();
  Pump(60);
  EXPECT_EQ(Global("ticks"), 0);
}

}  // namespace
}  // namespace vork::testing
