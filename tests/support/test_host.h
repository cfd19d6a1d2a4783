#pragma once
// The surroundings a test gives the player, installed while it lives: the
// test's boxes, a virtual clock whose timers fire only as the test advances
// it (waits and sleeps advance it too, so nothing in a test waits for real),
// a calendar of the test's when it sets one, sound engines and a current
// user's settings of the test's choosing, and fatal checks that may throw.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/message_boxes.h"
#include "platform/player_host.h"
#include "platform/virtual_clock.h"

namespace vork::testing {

// What a failed fatal check throws when the test host is told to throw.
struct FatalCheckFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class TestHost : public PlayerHost {
 public:
  explicit TestHost(MessageBoxes* boxes = nullptr, std::int64_t start_ms = 0) : clock(start_ms), boxes_(boxes) {}

  MessageBoxes& Boxes() override { return boxes_ ? *boxes_ : PlayerHost::Boxes(); }
  std::int64_t MonotonicMilliseconds() override { return clock.Now(); }
  std::int64_t LocalWallClockSeconds() override {
    return calendar ? calendar() : PlayerHost::LocalWallClockSeconds();
  }
  std::unique_ptr<HostTimer> NewTimer(std::function<void()> tick) override { return clock.NewTimer(std::move(tick)); }
  void Wait(std::int64_t ms) override { clock.Advance(ms); }
  void Sleep(std::int64_t ms) override { clock.Advance(ms); }
  SoundEngines* Sound() override { return sound; }
  void SceneShown() override { ++scenes_shown; }
  TVkReg* CurrentUserSettings() override { return user_settings; }
  void FatalCheckFailed(const std::string& detail) override {
    if (fatal_checks_throw) throw FatalCheckFailure(detail);
  }

  VirtualClock clock;
  // Answers LocalWallClockSeconds when set.
  std::function<std::int64_t()> calendar;
  SoundEngines* sound = nullptr;
  TVkReg* user_settings = nullptr;
  int scenes_shown = 0;
  // Fatal checks throw instead of ending the test program.
  bool fatal_checks_throw = false;

 private:
  MessageBoxes* boxes_;
  // Last, so that the host is complete when it is installed.
  ScopedHost installed_{*this};
};

}  // namespace vork::testing
