// A course that keeps a setting per word writes thousands of settings in one
// routine. Measures such a routine on a learner's store on disk: N writes of
// new names in no particular order, then the save point that ends the
// routine, for N = 1,000 and 10,000 (best of several runs each), and the
// save alone for both store sizes. A store written anew on every change
// costs time per write that grows with N; here it must stay flat.

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
  double per_write_us;  // writes and the save point, per write
  double save_us;       // the save alone
};

Routine RunRoutine(const std::string& file, const std::vector<std::string>& names) {
  std::filesystem::remove(file);
  vork::TVkReg store(file);
  const auto start = Clock::now();
  for (size_t i = 0; i < names.size(); ++i) store.WriteString(names[i], "due 2026-12-" + std::to_string(i % 28 + 1) + ";box 3");
  vork::SaveDeferredChanges();
  const auto written = Clock::now();
  store.WriteBool("saved again", true);
  const auto again = Clock::now();
  vork::SaveDeferredChanges();
  const auto saved = Clock::now();
  return {Microseconds(written - start) / static_cast<double>(names.size()), Microseconds(saved - again)};
}

Routine Best(const std::string& file, int count, int runs) {
  const std::vector<std::string> names = ShuffledNames(count);
  Routine best{1e300, 1e300};
  for (int run = 0; run < runs; ++run) {
    Routine routine = RunRoutine(file, names);
    best.per_write_us = std::min(best.per_write_us, routine.per_write_us);
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
  const Routine large = Best(file, kLarge, 5);
  std::filesystem::remove(file);
  const double routine_ms = large.per_write_us * kLarge / 1000;
  Figure("settings time per write, 1,000 in one routine", small.per_write_us, " us", "<=", 10);
  Figure("settings time per write, 10,000 in one routine", large.per_write_us, " us", "<=", 10);
  Figure("settings per-write ratio 10,000/1,000", large.per_write_us / small.per_write_us, "", "<=", 1.2);
  Figure("settings routine writing 10,000", routine_ms, " ms", "<=", 100);
  Figure("settings save per item ratio 10,000/1,000 items",
         (large.save_us / kLarge) / (small.save_us / kSmall), "", "<=", 1.2);
  return 0;
}
