// Timer objects: ticks on the host's clock, the restart rule, interval 0,
// and tick routines that fault or destroy their own timer. The test host's
// clock moves only when a test advances it, so nothing here waits.

#include <gtest/gtest.h>

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
  void Advance(std::int64_t ms) { host.clock.Advance(ms); }
};

TEST_F(TimerTest, StartsStoppedWithOneSecondAndNoRoutine) {
  EXPECT_EQ(SendForWord(timer, TimerMessage::Interval), 1000);
  EXPECT_EQ(SendForWord(timer, TimerMessage::OnTick), 0);
  EXPECT_FALSE(Timer().Running());
  Send(timer, TimerMessage::SetInterval, {10});
  Send(timer, TimerMessage::SetOnTick, {Entry("count")});
  EXPECT_EQ(SendForWord(timer, TimerMessage::Interval), 10);
  EXPECT_EQ(SendForWord(timer, TimerMessage::OnTick), Entry("count"));
  Advance(60);
  EXPECT_EQ(Global("ticks"), 0) << "setting the interval does not start the timer";
}

TEST_F(TimerTest, TicksRepeatWithItsHandleUntilStopped) {
  Start(10, "count");
  EXPECT_EQ(Global("ticks"), 0) << "no tick before the clock moves";
  Advance(9);
  EXPECT_EQ(Global("ticks"), 0);
  Advance(21);
  EXPECT_EQ(Global("ticks"), 3);
  EXPECT_EQ(Global("last"), timer);
  Send(timer, TimerMessage::Stop);
  Advance(60);
  EXPECT_EQ(Global("ticks"), 3);
  EXPECT_EQ(stack.Length(), 0);
  EXPECT_EQ(Boxes(), "");
}

// Message 4 on a running timer, and a new interval on it (message 0), both
// count a full interval from then on: the tick due 400 ms after the start
// does not come when the count started again 250 ms in.
TEST_F(TimerTest, RestartAndNewIntervalCountAFullIntervalFromThen) {
  for (const bool by_new_interval : {false, true}) {
    SCOPED_TRACE(by_new_interval ? "new interval" : "start again");
    Send(timer, TimerMessage::Stop);
    Start(400, "count");
    const int32_t ticks = Global("ticks");
    Advance(250);
    if (by_new_interval) Send(timer, TimerMessage::SetInterval, {400});
    else Send(timer, TimerMessage::Start);
    Advance(399);
    EXPECT_EQ(Global("ticks"), ticks);
    Advance(1);
    EXPECT_EQ(Global("ticks"), ticks + 1);
  }
}

TEST_F(TimerTest, IntervalZeroArmsNothingUntilAPositiveIntervalIsSet) {
  for (int32_t idle : {0, -5}) {
    Start(idle, "count");
    EXPECT_TRUE(Timer().Running());
    EXPECT_FALSE(Timer().Armed());
    Advance(60);
    EXPECT_EQ(Global("ticks"), 0) << "interval " << idle;
    EXPECT_EQ(SendForWord(timer, TimerMessage::Interval), idle);
  }
  Send(timer, TimerMessage::SetInterval, {10});
  Advance(20);
  EXPECT_EQ(Global("ticks"), 2);
}

TEST_F(TimerTest, TickWithoutRoutineIsSilent) {
  Start(10, nullptr);
  Advance(60);
  EXPECT_EQ(stack.Length(), 0);
  EXPECT_EQ(Boxes(), "");
  Send(timer, TimerMessage::SetOnTick, {Entry("count")});  // takes effect at the next tick
  Advance(10);
  EXPECT_EQ(Global("ticks"), 1);
}

TEST_F(TimerTest, FaultingTickIsShownAndTheTimerGoesOn) {
  Start(10, "fault");
  Advance(20);
  EXPECT_EQ(Boxes(), "error: Error code = 11\nerror: Error code = 11\n");
  EXPECT_EQ(stack.Length(), 0);
  EXPECT_TRUE(Timer().Running());
}

TEST_F(TimerTest, TickRoutineMayDestroyItsOwnTimer) {
  Start(10, "destroy");
  Advance(10);
  EXPECT_FALSE(manager->IsLive(timer));
  Advance(60);
  EXPECT_EQ(Global("ticks"), 1);
  EXPECT_EQ(Boxes(), "");
}

TEST_F(TimerTest, SceneChangeStopsTheTicks) {
  Start(10, "count");
  manager->ReleaseSceneObjects();
  EXPECT_FALSE(manager->IsLive(timer));
  Advance(60);
  EXPECT_EQ(Global("ticks"), 0);
}

TEST_F(TimerTest, NoTickAfterTheCourseHasEnded) {
  Start(10, "count");
  processor.Halt();
  Advance(60);
  EXPECT_EQ(Global("ticks"), 0);
}

}  // namespace
}  // namespace vork::testing
