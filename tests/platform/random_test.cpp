#include "platform/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "platform/errors.h"

namespace vork {
namespace {

TEST(RandomGenerator, SameSeedGivesTheSameSequence) {
  RandomGenerator a(7), b(7), c(8);
  std::vector<std::uint64_t> from_a, from_b, from_c;
  for (int i = 0; i < 20; ++i) {
    from_a.push_back(a.Below(1000000));
    from_b.push_back(b.Below(1000000));
    from_c.push_back(c.Below(1000000));
  }
  EXPECT_EQ(from_a, from_b);
  EXPECT_NE(from_a, from_c);
  a.Reseed(8);
  EXPECT_EQ(a.Below(1000000), from_c.front());
}

TEST(RandomGenerator, DrawsStayInRangeAndReachEveryValue) {
  RandomGenerator random(1);
  std::vector<int> below_counts(5), between_counts(5);
  for (int i = 0; i < 1000; ++i) {
    const auto below = random.Below(5);
    ASSERT_LT(below, 5u);
    ++below_counts[below];
    const auto between = random.Between(-2, 2);
    ASSERT_GE(between, -2);
    ASSERT_LE(between, 2);
    ++between_counts[between + 2];
  }
  for (int i = 0; i < 5; ++i) {
    EXPECT_GT(below_counts[i], 120) << i;
    EXPECT_GT(between_counts[i], 120) << i;
  }
  EXPECT_EQ(random.Below(1), 0u);
  EXPECT_EQ(random.Between(INT_MIN, INT_MIN), INT_MIN);
}

TEST(RandomGenerator, CoversTheWholeRangeOfWords) {
  RandomGenerator random(3);
  bool negative = false, positive = false;
  for (int i = 0; i < 100; ++i) {
    const auto value = random.Between(INT_MIN, INT_MAX);
    ASSERT_GE(value, INT_MIN);
    ASSERT_LE(value, INT_MAX);
    negative = negative || value < 0;
    positive = positive || value > 0;
  }
  EXPECT_TRUE(negative && positive);
  random.Between(INT64_MIN, INT64_MAX);  // the full span must not overflow
}

TEST(RandomGenerator, RefusesAnEmptyRange) {
  RandomGenerator random(1);
  EXPECT_THROW(random.Below(0), EVkAssertion);
  EXPECT_THROW(random.Between(2, 1), EVkAssertion);
}

TEST(RandomGenerator, PermutationHoldsEveryIndexOnce) {
  RandomGenerator random(5);
  auto order = random.Permutation(50);
  std::vector<std::size_t> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  for (std::size_t i = 0; i < sorted.size(); ++i) EXPECT_EQ(sorted[i], i);
  EXPECT_FALSE(std::is_sorted(order.begin(), order.end()));
  EXPECT_TRUE(random.Permutation(0).empty());
}

TEST(RandomGenerator, ShuffleLeavesAnyElementInAnyPlace) {
  // A shuffle that never leaves an element where it was (a classic
  // off-by-one) would never give the identity order.
  RandomGenerator random(9);
  int identity = 0;
  for (int i = 0; i < 600; ++i) {
    std::vector<int> items{1, 2, 3};
    random.Shuffle(items);
    identity += items == std::vector<int>{1, 2, 3};
  }
  EXPECT_GT(identity, 50);
}

TEST(RandomSeed, ReadsADecimalSeedAndRefusesAnythingElse) {
  EXPECT_EQ(ParseSeed(nullptr), std::nullopt);
  EXPECT_EQ(ParseSeed("42"), 42u);
  EXPECT_EQ(ParseSeed("18446744073709551615"), UINT64_MAX);
  for (const char* bad : {"", "x", "-1", "42x", " 42", "18446744073709551616", "0x10"}) {
    try {
      ParseSeed(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const EVkError& error) {
      EXPECT_NE(std::string(error.what()).find(std::string("'") + bad + "'"), std::string::npos)
          << error.what();
    }
  }
}

TEST(RandomSeed, StartUpSeedsTheProcessGeneratorFromVorkSeed) {
  ASSERT_EQ(setenv("VORK_SEED", "1234", 1), 0);
  SeedRandomAtStartUp();
  const auto first = Random().Below(1u << 30);
  SeedRandomAtStartUp();
  EXPECT_EQ(Random().Below(1u << 30), first);
  EXPECT_EQ(first, RandomGenerator(1234).Below(1u << 30));
  ASSERT_EQ(unsetenv("VORK_SEED"), 0);
}

}  // namespace
}  // namespace vork
