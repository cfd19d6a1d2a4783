#include "platform/virtual_clock.h"

#include <algorithm>

namespace vork {

class VirtualClock::Timer : public HostTimer {
 public:
  Timer(VirtualClock& clock, std::function<void()> tick) : clock_(&clock), tick_(std::move(tick)) {}
  ~Timer() override {
    if (clock_) std::erase(clock_->timers_, this);
  }

  void Start(std::int64_t interval_ms, TimerMode mode) override {
    if (!clock_) return;
    interval_ = std::max<std::int64_t>(interval_ms, 1);
    mode_ = mode;
    active_ = true;
    Schedule(clock_->now_ + interval_);
  }
  void Stop() override { active_ = false; }
  bool Active() const override { return active_; }

  // Whether this timer fires before other, both due.
  bool Before(const Timer& other) const {
    return due_ != other.due_ ? due_ < other.due_ : started_ < other.started_;
  }
  bool DueBy(std::int64_t until) const { return active_ && due_ <= until; }
  std::int64_t Due() const { return due_; }

  // Reschedules or stops the timer, then runs its tick, which may destroy
  // it: nothing of the timer is touched after the call.
  void Fire() {
    if (mode_ == TimerMode::Repeating) Schedule(due_ + interval_);
    else active_ = false;
    const std::function<void()> tick = tick_;
    tick();
  }

  void Detach() {
    clock_ = nullptr;
    active_ = false;
  }

 private:
  void Schedule(std::int64_t due) {
    due_ = due;
    started_ = clock_->next_start_++;
  }

  VirtualClock* clock_;
  std::function<void()> tick_;
  std::int64_t interval_ = 1;
  std::int64_t due_ = 0;
  std::uint64_t started_ = 0;
  TimerMode mode_ = TimerMode::Repeating;
  bool active_ = false;
};

VirtualClock::~VirtualClock() {
  for (Timer* timer : timers_) timer->Detach();
}

void VirtualClock::Advance(std::int64_t ms) {
  const std::int64_t until = now_ + std::max<std::int64_t>(ms, 0);
  while (Timer* timer = NextDue(until)) {
    now_ = std::max(now_, timer->Due());
    timer->Fire();
  }
  // A tick that advanced the clock itself may have gone past until.
  now_ = std::max(now_, until);
}

std::unique_ptr<HostTimer> VirtualClock::NewTimer(std::function<void()> tick) {
  auto timer = std::make_unique<Timer>(*this, std::move(tick));
  timers_.push_back(timer.get());
  return timer;
}

int VirtualClock::ActiveTimers() const {
  return static_cast<int>(std::count_if(timers_.begin(), timers_.end(), [](const Timer* t) { return t->Active(); }));
}

VirtualClock::Timer* VirtualClock::NextDue(std::int64_t until) const {
  Timer* next = nullptr;
  for (Timer* timer : timers_) {
    if (timer->DueBy(until) && (!next || timer->Before(*next))) next = timer;
  }
  return next;
}

}  // namespace vork
