#include "platform/clock.h"

#include "platform/player_host.h"

namespace vork {

std::int64_t MonotonicMilliseconds() { return Host().MonotonicMilliseconds(); }

std::int64_t LocalWallClockSeconds() { return Host().LocalWallClockSeconds(); }

}  // namespace vork
