#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <ctime>

namespace vork {

namespace {

std::atomic<const ClockSource*> current_source{nullptr};
std::atomic<const ClockSource*> current_wall_source{nullptr};

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

std::int64_t LocalWallClockSeconds() {
  if (const ClockSource* source = current_wall_source.load(std::memory_order_acquire)) {
    return (*source)();
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  using namespace std::chrono;
  const sys_days day = year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday;
  return duration_cast<seconds>(day.time_since_epoch()).count() + local.tm_hour * 3600 +
         local.tm_min * 60 + local.tm_sec;
}

ScopedWallClockSource::ScopedWallClockSource(ClockSource source)
    : source_(std::move(source)), previous_(current_wall_source.load()) {
  current_wall_source.store(&source_, std::memory_order_release);
}

ScopedWallClockSource::~ScopedWallClockSource() {
  current_wall_source.store(previous_, std::memory_order_release);
}

}  // namespace vork
