#pragma once
// The process's one pseudo-random generator.
//
// Everything random in the player (random numbers for the bytecode, shuffled
// sprites and test items, temporary file names) draws from Random(), so that
// a run started with VORK_SEED set repeats itself exactly. The engine and the
// bounded draw are our own fixed algorithms rather than a standard library
// distribution, whose results differ between library versions.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

namespace vork {

class RandomGenerator {
 public:
  explicit RandomGenerator(std::uint64_t seed) : engine_(seed) {}

  void Reseed(std::uint64_t seed) { engine_.seed(seed); }

  // Uniform in [0, n); n must be positive.
  std::uint64_t Below(std::uint64_t n);
  // Uniform in [lower, upper], both included; lower must not exceed upper.
  // Wide enough for any pair of 32-bit words.
  std::int64_t Between(std::int64_t lower, std::int64_t upper);
  // 0 … n − 1, each once, in uniformly random order.
  std::vector<std::size_t> Permutation(std::size_t n);

  // Puts items in uniformly random order.
  template <typename T>
  void Shuffle(std::vector<T>& items) {
    for (std::size_t left = items.size(); left > 1; --left) {
      std::swap(items[left - 1], items[Below(left)]);
    }
  }

 private:
  std::mt19937_64 engine_;
};

// The process's one generator. On first use it is seeded as
// SeedRandomAtStartUp does, unless start-up has seeded it already.
RandomGenerator& Random();

// Seeds Random() from VORK_SEED when that is set, else from the system's
// entropy source. Raises EVkError naming the value when VORK_SEED is not a
// decimal number.
void SeedRandomAtStartUp();

// The seed that VORK_SEED names, if it is set; raises EVkError when it is
// not a decimal number that fits 64 bits.
std::optional<std::uint64_t> ParseSeed(const char* environment_value);

}  // namespace vork
