#include "platform/qt/qt_host.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdint>

namespace vork {

namespace {

class QtTimer : public HostTimer {
 public:
  explicit QtTimer(std::function<void()> tick) {
    auto* timer = new QTimer;
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, timer, std::move(tick));
    timer_ = timer;
  }
  // Destroyed by its own tick, the QTimer is still emitting: it goes once
  // the event is over.
  ~QtTimer() override {
    if (!timer_) return;
    timer_->stop();
    timer_->disconnect();
    timer_->deleteLater();
  }
  QtTimer(const QtTimer&) = delete;
  QtTimer& operator=(const QtTimer&) = delete;

  void Start(std::int64_t interval_ms, TimerMode mode) override {
    if (!timer_) return;
    timer_->setSingleShot(mode == TimerMode::SingleShot);
    timer_->start(static_cast<int>(std::clamp<std::int64_t>(interval_ms, 0, INT32_MAX)));
  }
  void Stop() override {
    if (timer_) timer_->stop();
  }
  bool Active() const override { return timer_ && timer_->isActive(); }

 private:
  QPointer<QTimer> timer_;
};

}  // namespace

std::unique_ptr<HostTimer> QtHost::NewTimer(std::function<void()> tick) {
  return std::make_unique<QtTimer>(std::move(tick));
}

void QtHost::Wait(std::int64_t ms) {
  if (ms <= 0) return;
  if (!QCoreApplication::instance()) {
    Sleep(ms);
    return;
  }
  QEventLoop loop;
  QTimer::singleShot(std::chrono::milliseconds(ms), Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace vork
