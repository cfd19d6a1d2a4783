#pragma once
// The one clock of the player: milliseconds from a monotonic source. Every
// time-dependent object (transitions, timers, slides) reads it here, so that
// tests can replace the source and step through time deterministically.

#include <cstdint>
#include <functional>

namespace vork {

using ClockSource = std::function<std::int64_t()>;

// Milliseconds since an arbitrary fixed point; never goes backwards unless a
// test source does.
std::int64_t MonotonicMilliseconds();

// Replaces the source for its lifetime and restores the previous one after.
// Sources nest. Install and remove them on the main thread only; reading the
// clock from another thread is safe only while no test source is installed.
class ScopedClockSource {
 public:
  explicit ScopedClockSource(ClockSource source);
  ~ScopedClockSource();
  ScopedClockSource(const ScopedClockSource&) = delete;
  ScopedClockSource& operator=(const ScopedClockSource&) = delete;

 private:
  ClockSource source_;
  const ClockSource* previous_;
};

// A source that tests set and advance by hand.
class ManualClock {
 public:
  explicit ManualClock(std::int64_t start = 0) : now_(start), scope_([this] { return now_; }) {}
  void Set(std::int64_t ms) { now_ = ms; }
  void Advance(std::int64_t ms) { now_ += ms; }
  std::int64_t Now() const { return now_; }

 private:
  std::int64_t now_;
  ScopedClockSource scope_;
};

// The calendar: local wall-clock time as seconds counted from 1970-01-01
// 00:00:00 *local* time, so that converting the number as a plain calendar
// date gives what the learner's clock shows. Schedules that courses store as
// local date-times (the test manager's due times) read it here.
std::int64_t LocalWallClockSeconds();

// Replaces the calendar source for its lifetime, as ScopedClockSource does
// for the monotonic one.
class ScopedWallClockSource {
 public:
  explicit ScopedWallClockSource(ClockSource source);
  ~ScopedWallClockSource();
  ScopedWallClockSource(const ScopedWallClockSource&) = delete;
  ScopedWallClockSource& operator=(const ScopedWallClockSource&) = delete;

 private:
  ClockSource source_;
  const ClockSource* previous_;
};

}  // namespace vork
