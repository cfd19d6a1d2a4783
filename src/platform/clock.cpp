#include "platform/clock.h"

#include <atomic>
#include <chrono>

namespace vork {

namespace {

std::atomic<const ClockSource*> current_source{nullptr};

}  // namespace

std::int64_t MonotonicMilliseconds() {
  if (const ClockSource* source = current_source.load(std::memory_order_acquire)) {
    return (*source)();
  }
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

ScopedClockSource::ScopedClockSource(ClockSource source)
    : source_(std::move(source)), previous_(current_source.load()) {
  current_source.store(&source_, std::memory_order_release);
}

ScopedClockSource::~ScopedClockSource() {
  current_source.store(previous_, std::memory_order_release);
}

}  // namespace vork
