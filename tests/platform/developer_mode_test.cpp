#include "platform/developer_mode.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

// The stage draws in the view style it is given: 0 hides the developer marks
// and the overlay, so it must be 0 whenever developer mode is off, and each
// switch-on must show the other of the two styles.
TEST(DeveloperMode, ViewStyleAlternatesAtEachSwitchOnAndIsZeroWhileOff) {
  ASSERT_FALSE(DeveloperMode());
  EXPECT_EQ(DeveloperViewStyle(), 0);
  struct Step {
    bool on;
    int style;
  } steps[] = {{true, 1},  {true, 1},  {false, 0}, {true, 2}, {false, 0},
               {false, 0}, {true, 1},  {false, 0}, {true, 2}};
  for (const Step& step : steps) {
    SetDeveloperMode(step.on);
    EXPECT_EQ(DeveloperMode(), step.on);
    EXPECT_EQ(DeveloperViewStyle(), step.style) << "after switching " << (step.on ? "on" : "off");
  }
}

}  // namespace
}  // namespace vork
