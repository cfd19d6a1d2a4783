#include "platform/random.h"

#include <charconv>
#include <cstdlib>
#include <string>

#include "platform/errors.h"

namespace vork {

std::uint64_t RandomGenerator::Below(std::uint64_t n) {
  Check(n > 0);
  // Rejection sampling: draws from the top partial bucket are thrown away,
  // so every result is equally likely.
  const std::uint64_t limit = UINT64_MAX - UINT64_MAX % n;
  std::uint64_t draw;
  do {
    draw = engine_();
  } while (draw >= limit);
  return draw % n;
}

std::int64_t RandomGenerator::Between(std::int64_t lower, std::int64_t upper) {
  Check(lower <= upper);
  const std::uint64_t span =
      static_cast<std::uint64_t>(upper) - static_cast<std::uint64_t>(lower);
  if (span == UINT64_MAX) return static_cast<std::int64_t>(engine_());
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(lower) + Below(span + 1));
}

std::vector<std::size_t> RandomGenerator::Permutation(std::size_t n) {
  std::vector<std::size_t> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = i;
  Shuffle(order);
  return order;
}

std::optional<std::uint64_t> ParseSeed(const char* environment_value) {
  if (environment_value == nullptr) return std::nullopt;
  const std::string_view text(environment_value);
  std::uint64_t seed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    throw EVkError("VORK_SEED must be a decimal number below 2^64, not '" +
                   std::string(text) + "'");
  }
  return seed;
}

namespace {

std::uint64_t StartUpSeed() {
  if (auto seed = ParseSeed(std::getenv("VORK_SEED"))) return *seed;
  std::random_device entropy;
  return (static_cast<std::uint64_t>(entropy()) << 32) ^ entropy();
}

RandomGenerator& Generator(bool seed_now) {
  static RandomGenerator generator(StartUpSeed());
  if (seed_now) generator.Reseed(StartUpSeed());
  return generator;
}

}  // namespace

RandomGenerator& Random() { return Generator(false); }

void SeedRandomAtStartUp() { Generator(true); }

}  // namespace vork
