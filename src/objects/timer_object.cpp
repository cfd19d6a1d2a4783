#include "objects/timer_object.h"

#include "bridge/messages.h"
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
  switch (static_cast<TimerMessage>(message)) {
    case TimerMessage::SetInterval:
      interval_ = PopInt();
      if (running_) Rearm();
      break;
    case TimerMessage::Interval: PushInt(interval_); break;
    case TimerMessage::SetOnTick: tick_handler_ = PopInt(); break;
    case TimerMessage::OnTick: PushInt(tick_handler_); break;
    case TimerMessage::Start:
      running_ = true;
      Rearm();
      break;
    case TimerMessage::Stop:
      running_ = false;
      Rearm();
      break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
