#pragma once
// A clock that moves only when told, with timers that fall due as it
// passes their due times: what a test host answers with, so that timer
// objects, slides, transitions and waits run in a test without a single
// wall-clock wait and always the same way.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/player_host.h"

namespace vork {

class VirtualClock {
 public:
  explicit VirtualClock(std::int64_t start = 0) : now_(start) {}
  // Timers that outlive the clock stay, stopped for good.
  ~VirtualClock();
  VirtualClock(const VirtualClock&) = delete;
  VirtualClock& operator=(const VirtualClock&) = delete;

  std::int64_t Now() const { return now_; }
  // Moves the clock ms forward. Each timer that falls due on the way fires
  // with Now() at its due time, in order of due time (timers due at the
  // same moment in the order their count started); a repeating timer falls
  // due again an interval later, so a long step fires it once per interval.
  // A tick may start, stop or destroy timers, and advance the clock itself.
  void Advance(std::int64_t ms);

  // A stopped timer on this clock. Intervals below 1 ms count as 1 ms, so
  // that a step always ends.
  std::unique_ptr<HostTimer> NewTimer(std::function<void()> tick);
  // Timers started and not yet stopped or fired for the last time.
  int ActiveTimers() const;

 private:
  class Timer;
  Timer* NextDue(std::int64_t until) const;

  std::int64_t now_;
  std::uint64_t next_start_ = 0;
  std::vector<Timer*> timers_;
};

}  // namespace vork
