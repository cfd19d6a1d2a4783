#pragma once
// The one clock of the player, kept by the host (player_host.h). Every
// time-dependent object reads it here or runs on the host's timers:
// transitions read it, timer objects and slides tick on the host's timers,
// and blocking waits wait through the host. So a test host whose clock moves
// only when the test advances it (VirtualClock, virtual_clock.h) steps
// through all of them deterministically.

#include <cstdint>

namespace vork {

// Milliseconds since an arbitrary fixed point; never goes backwards unless a
// test host moves it so. Host().MonotonicMilliseconds().
std::int64_t MonotonicMilliseconds();

// The calendar: local wall-clock time as seconds counted from 1970-01-01
// 00:00:00 *local* time, so that converting the number as a plain calendar
// date gives what the learner's clock shows. Schedules that courses store as
// local date-times (the test manager's due times) read it here.
// Host().LocalWallClockSeconds().
std::int64_t LocalWallClockSeconds();

}  // namespace vork
