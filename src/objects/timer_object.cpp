#include "objects/timer_object.h"

#include "objects/event_routine.h"

namespace vork {

void TVkTimerObject::Init() { timer_ = Host().NewTimer([this] { Tick(); }); }

void TVkTimerObject::Release() {
  running_ = false;
  // The host's timers may be destroyed by their own tick: a tick routine
  // may release its timer.
  timer_.reset();
}

bool TVkTimerObject::Armed() const { return running_ && interval_ > 0; }

void TVkTimerObject::Rearm() {
  if (!timer_) return;
  if (Armed()) timer_->Start(interval_);
  else timer_->Stop();
}

void TVkTimerObject::Tick() { RunObjectEvent(*this, tick_handler_); }

void TVkTimerObject::HandleMessage(int32_t message) {
  switch (message) {
    case 0:
      interval_ = PopInt();
      if (running_) Rearm();
      break;
    case 1: PushInt(interval_); break;
    case 2: tick_handler_ = PopInt(); break;
    case 3: PushInt(tick_handler_); break;
    case 4:
      running_ = true;
      Rearm();
      break;
    case 5:
      running_ = false;
      Rearm();
      break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
