#include "objects/timer_object.h"

#include <QTimer>

#include "bridge/messages.h"
#include "objects/event_routine.h"

namespace vork {

void TVkTimerObject::Init() {
  timer_ = new QTimer();
  timer_->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer_, &QTimer::timeout, [this] { Tick(); });
}

void TVkTimerObject::Release() {
  running_ = false;
  if (!timer_) return;
  timer_->stop();
  timer_->disconnect();
  // Released by its own tick routine, the QTimer is still emitting: it
  // goes once the event is over.
  if (in_tick_) timer_->deleteLater();
  else delete timer_;
}

bool TVkTimerObject::Armed() const { return running_ && interval_ > 0; }

void TVkTimerObject::Rearm() {
  if (!timer_) return;
  if (Armed()) timer_->start(interval_);
  else timer_->stop();
}

void TVkTimerObject::Tick() {
  in_tick_ = true;
  if (RunObjectEvent(*this, tick_handler_)) in_tick_ = false;
}

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
