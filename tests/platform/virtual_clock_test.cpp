// The virtual clock's timers: order of firing, the restart rule, and ticks
// that destroy timers or move the clock themselves.

#include "platform/virtual_clock.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace vork {
namespace {

// Timers that log "NAME@TIME" at each tick.
struct LoggedTimers {
  HostTimer& Add(const std::string& name) {
    timers[name] = clock.NewTimer([this, name] { log += name + "@" + std::to_string(clock.Now()) + " "; });
    return *timers[name];
  }

  VirtualClock clock{0};
  std::map<std::string, std::unique_ptr<HostTimer>> timers;
  std::string log;
};

TEST(VirtualClock, TimersFireInOrderOfDueTimeWithTheClockAtEach) {
  const struct {
    std::vector<std::int64_t> steps;
    std::string expected;
  } cases[] = {
      // One long step fires a repeating timer once per interval; at 60 the
      // timer whose count started first goes first.
      {{100}, "c@20 a@30 c@40 b@50 a@60 c@60 c@80 a@90 c@100 "},
      {{19, 1, 29, 1, 50}, "c@20 a@30 c@40 b@50 a@60 c@60 c@80 a@90 c@100 "},
      {{19}, ""},
      {{-5, 20}, "c@20 "},
  };
  for (const auto& c : cases) {
    LoggedTimers t;
    t.Add("a").Start(30);
    t.Add("b").Start(50, TimerMode::SingleShot);
    t.Add("c").Start(20);
    std::int64_t total = 0;
    for (std::int64_t step : c.steps) {
      t.clock.Advance(step);
      total += std::max<std::int64_t>(step, 0);
    }
    EXPECT_EQ(t.log, c.expected) << "after " << total << " ms";
    EXPECT_EQ(t.clock.Now(), total);
    EXPECT_EQ(t.timers["b"]->Active(), total < 50) << "a single shot fires once";
  }
}

TEST(VirtualClock, StartingAgainOrStoppingCountsFromThen) {
  LoggedTimers t;
  HostTimer& a = t.Add("a");
  a.Start(400);
  t.clock.Advance(250);
  a.Start(400);  // the tick due at 400 does not come
  t.clock.Advance(399);
  EXPECT_EQ(t.log, "");
  t.clock.Advance(1);
  EXPECT_EQ(t.log, "a@650 ");
  a.Stop();
  EXPECT_FALSE(a.Active());
  EXPECT_EQ(t.clock.ActiveTimers(), 0);
  t.clock.Advance(1000);
  EXPECT_EQ(t.log, "a@650 ");
  a.Start(0);  // counts as 1 ms, so that a step ends
  t.clock.Advance(3);
  EXPECT_EQ(t.log, "a@650 a@1651 a@1652 a@1653 ");
}

TEST(VirtualClock, TicksMayDestroyTimersAndMoveTheClock) {
  VirtualClock clock;
  std::string log;
  std::unique_ptr<HostTimer> self;
  std::unique_ptr<HostTimer> other;
  std::unique_ptr<HostTimer> waiter;
  self = clock.NewTimer([&] {
    log += "self@" + std::to_string(clock.Now()) + " ";
    self.reset();
    other.reset();
  });
  other = clock.NewTimer([&] { log += "other "; });
  // A tick that waits (a blocking slide inside a timer routine) moves the
  // clock past the end of the step that fired it.
  waiter = clock.NewTimer([&] {
    log += "wait@" + std::to_string(clock.Now()) + " ";
    clock.Advance(100);
  });
  self->Start(10);
  other->Start(20);
  waiter->Start(5, TimerMode::SingleShot);
  clock.Advance(30);
  EXPECT_EQ(log, "wait@5 self@10 ");
  EXPECT_EQ(clock.Now(), 105) << "the clock never goes back";
  EXPECT_EQ(self, nullptr);
  EXPECT_EQ(clock.ActiveTimers(), 0);
}

TEST(VirtualClock, TimersMayOutliveTheirClock) {
  std::unique_ptr<HostTimer> timer;
  {
    VirtualClock clock;
    timer = clock.NewTimer([] {});
    timer->Start(10);
  }
  EXPECT_FALSE(timer->Active());
  timer->Start(10);
  EXPECT_FALSE(timer->Active());
}

}  // namespace
}  // namespace vork
