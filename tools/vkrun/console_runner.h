#pragma once
// Runs a bytecode image without a window: a real object manager with string
// objects and the console object as class 1. When the course executes stop,
// its stop routine runs and the machine halts, as the player's director
// does it.

#include <cstdint>
#include <iosfwd>

#include "vm/image.h"

namespace vork {

struct ConsoleRunResult {
  uint64_t instructions = 0;  // counted only when asked for
  int live_objects_at_end = 0;
};

// Faults of the machine travel out as their exceptions.
ConsoleRunResult RunOnConsole(const TVkImageFile& image, std::ostream& out, bool count_instructions);

}  // namespace vork
