#include "platform/clock.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(Clock, TestSourcesNestAndTheRealClockComesBack) {
  const std::int64_t real_before = MonotonicMilliseconds();
  {
    ManualClock outer(1000);
    EXPECT_EQ(MonotonicMilliseconds(), 1000);
    {
      ScopedClockSource inner([] { return std::int64_t{7}; });
      EXPECT_EQ(MonotonicMilliseconds(), 7);
    }
    outer.Advance(250);
    EXPECT_EQ(MonotonicMilliseconds(), 1250);
  }
  const std::int64_t real_after = MonotonicMilliseconds();
  EXPECT_GE(real_after, real_before);
  EXPECT_GT(real_after, 1250);  // the real clock, not a leftover test value
}

}  // namespace
}  // namespace vork
