#pragma once
// TVkTimerObject (class 2): a periodic event for the bytecode, on one of the
// host's timers. Ticks come from the event loop, so they arrive only while the player is idle or inside
// a message that processes pending events (a tick then runs nested in that
// message), never in the middle of a routine that does not give way.
//
// Created stopped with an interval of 1000 ms. Running from message 4 until
// message 5 or release; an interval of 0 (or below) arms nothing until a
// positive interval is set, while the timer still counts as running.

#include <cstdint>
#include <memory>

#include "bridge/script_object.h"
#include "platform/player_host.h"

namespace vork {

class TVkTimerObject : public TVkScriptObject {
 public:
  static constexpr int32_t kDefaultInterval = 1000;

  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  bool Running() const { return running_; }
  // Whether ticks are due: running with a positive interval.
  bool Armed() const;

 private:
  // Starts the count of a full interval anew when the timer should tick,
  // stops it otherwise.
  void Rearm();
  void Tick();

  std::unique_ptr<HostTimer> timer_;
  int32_t interval_ = kDefaultInterval;
  int32_t tick_handler_ = 0;
  bool running_ = false;
};

}  // namespace vork
