// Cost per object of destroying every object at the end of a run (the
// shutdown order: all but the oldest, oldest first, then the oldest), for a
// small and a ten times larger run, both measured here. Prints both costs
// and their ratio. Target: at most 3, the growth of a binary search and of
// cache misses in a larger heap; a quadratic shutdown gives 10 or more, and
// a course that leaves many strings behind would take seconds to close.

#include <chrono>
#include <cstdio>

#include "../figure.h"
#include "bridge/object_manager.h"

namespace {

double NanosecondsPerObject(int count) {
  vork::TVkObjectManager manager(vork::TVkManagerSetup{});
  for (int i = 0; i < count; ++i) manager.CreateObject(vork::TVkObjectManager::kStringClass);
  const auto start = std::chrono::steady_clock::now();
  manager.DestroyAllObjects();
  const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / count;
}

}  // namespace

int main() {
  constexpr int kSmall = 20'000;
  constexpr int kLarge = 200'000;
  NanosecondsPerObject(kSmall);  // warm the allocator
  const double small = NanosecondsPerObject(kSmall);
  const double large = NanosecondsPerObject(kLarge);
  std::printf("destroy all: %d objects %.1f ns each, %d objects %.1f ns each, ratio %.2f (target <= 3)\n",
              kSmall, small, kLarge, large, large / small);
  vork::bench::PrintFigure("objects destroy-all cost per object, 10x more objects", large / small, "<=", 3);
  return 0;
}
