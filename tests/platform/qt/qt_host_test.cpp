// The Qt host's timers and waits on the real event loop: repeating and
// single-shot timers, a timer destroyed by its own tick, and a wait that
// lets timers tick meanwhile.

#include "platform/qt/qt_host.h"

#include <gtest/gtest.h>

#include <QTest>
#include <memory>

namespace vork {
namespace {

TEST(QtHost, RepeatingAndSingleShotTimersTickFromTheEventLoop) {
  QtHost host;
  for (const TimerMode mode : {TimerMode::Repeating, TimerMode::SingleShot}) {
    int ticks = 0;
    auto timer = host.NewTimer([&] { ++ticks; });
    EXPECT_FALSE(timer->Active());
    timer->Start(5, mode);
    EXPECT_TRUE(timer->Active());
    EXPECT_EQ(ticks, 0) << "no tick before the event loop runs";
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, 5000));
    if (mode == TimerMode::Repeating) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 5000));
      EXPECT_TRUE(timer->Active());
      timer->Stop();
    }
    EXPECT_FALSE(timer->Active());
    const int stopped_at = ticks;
    QTest::qWait(20);
    EXPECT_EQ(ticks, stopped_at);
  }
}

TEST(QtHost, ATickMayDestroyItsOwnTimer) {
  QtHost host;
  int ticks = 0;
  std::unique_ptr<HostTimer> timer;
  timer = host.NewTimer([&] {
    ++ticks;
    timer.reset();
  });
  timer->Start(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return timer == nullptr; }, 5000));
  QTest::qWait(20);
  EXPECT_EQ(ticks, 1);
}

TEST(QtHost, AWaitLetsTimersTick) {
  QtHost host;
  int ticks = 0;
  auto timer = host.NewTimer([&] { ++ticks; });
  timer->Start(1);
  const std::int64_t started = host.MonotonicMilliseconds();
  host.Wait(50);
  EXPECT_GE(host.MonotonicMilliseconds() - started, 50);
  EXPECT_GT(ticks, 0);
}

}  // namespace
}  // namespace vork
