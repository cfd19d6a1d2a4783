#include "platform/clock.h"

#include <gtest/gtest.h>

#include "support/test_host.h"

namespace vork {
namespace {

TEST(Clock, HostsNestAndTheRealClockComesBack) {
  const std::int64_t real_before = MonotonicMilliseconds();
  {
    testing::TestHost outer(nullptr, 1000);
    EXPECT_EQ(MonotonicMilliseconds(), 1000);
    {
      testing::TestHost inner(nullptr, 7);
      EXPECT_EQ(MonotonicMilliseconds(), 7);
      EXPECT_EQ(&Host(), &inner);
    }
    EXPECT_EQ(&Host(), &outer);
    outer.clock.Advance(250);
    EXPECT_EQ(MonotonicMilliseconds(), 1250);
  }
  const std::int64_t real_after = MonotonicMilliseconds();
  EXPECT_GE(real_after, real_before);
  EXPECT_GT(real_after, 1250);  // the real clock, not a leftover test value
}

}  // namespace
}  // namespace vork
