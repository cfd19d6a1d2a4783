// A course that keeps a setting per word writes thousands of settings in one
// routine. Measures such a routine on a learner's store on disk: N writes of
// new names in no particular order, then the save point that ends the
// routine, for N = 1,000 and 10,000 (best of several runs each). A store
// written anew on every change costs time per write that grows with N; here
// a write must cost the same at either size, the whole routine stay well
// under 100 ms, and one save grow no faster than the store.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "platform/deferred_saves.h"
#include "users/reg.h"

namespace {

using Clock = std::chrono::steady_clock;

double Microseconds(Clock::duration spent) {
  return std::chrono::duration<double, std::micro>(spent).count();
}

std::vector<std::string> ShuffledNames(int count) {
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), std::mt19937(count));
  std::vector<std::string> names;
  for (int word : order) names.push_back("schedule/word" + std::to_string(word));
  return names;
}

struct Routine {
  double per_write_us;  // the writes alone, per write
  double routine_us;    // the writes and the save point that ends the routine
  double save_us;       // a save of the whole store after one more change
};

Routine RunRoutine(const std::string& file, const std::vector<std::string>& names) {
  std::filesystem::remove(file);
  vork::TVkReg store(file);
  const auto start = Clock::now();
  for (size_t i = 0; i < names.size(); ++i) store.WriteString(names[i], "due 2026-12-" + std::to_string(i % 28 + 1) + ";box 3");
  const auto written = Clock::now();
  vork::SaveDeferredChanges();
  const auto ended = Clock::now();
  store.WriteBool("saved again", true);
  const auto again = Clock::now();
  vork::SaveDeferredChanges();
  const auto saved = Clock::now();
  return {Microseconds(written - start) / static_cast<double>(names.size()), Microseconds(ended - start),
          Microseconds(saved - again)};
}

// Best of several runs of each figure: the saves wait for the disk, which
// other work on the machine disturbs.
Routine Best(const std::string& file, int count, int runs) {
  const std::vector<std::string> names = ShuffledNames(count);
  Routine best{1e300, 1e300, 1e300};
  for (int run = 0; run < runs; ++run) {
    Routine routine = RunRoutine(file, names);
    best.per_write_us = std::min(best.per_write_us, routine.per_write_us);
    best.routine_us = std::min(best.routine_us, routine.routine_us);
    best.save_us = std::min(best.save_us, routine.save_us);
  }
  return best;
}

void Figure(const char* name, double value, const char* unit, const char* comparison, double target) {
  const bool holds = comparison[0] == '<' ? value <= target : value >= target;
  std::printf("%s: %.3g%s (target %s %g) %s\n", name, value, unit, comparison, target,
              holds ? "holds" : "misses");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
  const std::string file = folder + "/bench-settings-" + std::to_string(::getpid()) + ".vkr";
  constexpr int kSmall = 1'000;
  constexpr int kLarge = 10'000;
  Best(file, kSmall, 2);  // warm the allocator and the disk
  const Routine small = Best(file, kSmall, 7);
  const Routine large = Best(file, kLarge, 7);
  std::filesystem::remove(file);
  const double routine_ms = large.routine_us / 1000;
  Figure("settings time per write, 1,000 in one routine", small.per_write_us, " us", "<=", 10);
  Figure("settings time per write, 10,000 in one routine", large.per_write_us, " us", "<=", 10);
  Figure("settings per-write ratio 10,000/1,000", large.per_write_us / small.per_write_us, "", "<=", 1.2);
  Figure("settings routine writing 10,000", routine_ms, " ms", "<=", 100);
  Figure("settings save per item ratio 10,000/1,000 items",
         (large.save_us / kLarge) / (small.save_us / kSmall), "", "<=", 1.2);
  return 0;
}
