// The geometry of drag-and-drop exercises, on snapshots of sprites laid out
// by hand: tag matching, group tests, snapping, shuffling, counting related
// sprites and the moves of a row of slots.

#include "scene/sprite_groups.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>
#include <random>

#include "platform/errors.h"

namespace vork {
namespace {

// A 20 x 20 sprite centred on (x, y).
GroupSprite At(int32_t handle, std::string tags, int x, int y) {
  return {handle, std::move(tags), {x - 10, y - 10, 20, 20}};
}

TEST(SpriteTags, MatchingIsBySubstringAndHavingIsByElement) {
  struct Case {
    const char* tags;
    const char* name;
    bool matches;
    bool has;
  };
  const Case cases[] = {
      {"card|red", "", true, false},       {"card|red", "red", true, true},
      {"card|red", "re", false, false},    {"card|red", "card|red", true, false},
      {"", "", true, false},               {"", "card", false, false},
      {"a||b", "", true, true},            {"Card", "card", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TagsMatch(c.tags, c.name), c.matches) << c.tags << " / " << c.name;
    EXPECT_EQ(HasTagName(c.tags, c.name), c.has) << c.tags << " / " << c.name;
  }
}

TEST(SpriteGeometry, CentresTruncateAndRectanglesTouchingDoNotIntersect) {
  EXPECT_EQ((GroupRect{0, 0, 5, 5}.Center()), (GroupPoint{2, 2}));
  EXPECT_EQ((GroupRect{-5, -5, 4, 4}.Center()), (GroupPoint{-3, -3}));  // (-5 + -1) / 2
  const GroupRect a{0, 0, 10, 10};
  EXPECT_TRUE(a.Intersects({9, 9, 10, 10}));
  EXPECT_FALSE(a.Intersects({10, 0, 10, 10}));
  EXPECT_FALSE(a.Intersects({0, 0, 0, 10}));
  EXPECT_TRUE(a.Contains({9, 0}));
  EXPECT_FALSE(a.Contains({10, 0}));
}

TEST(SpriteGeometry, RoundedDistanceRoundsHalvesUp) {
  EXPECT_EQ(RoundedDistance({0, 0}, {3, 4}), 5);
  EXPECT_EQ(RoundedDistance({0, 0}, {1, 1}), 1);    // 1.414
  EXPECT_EQ(RoundedDistance({0, 0}, {1, 2}), 2);    // 2.236
  EXPECT_EQ(RoundedDistance({0, 0}, {-2147483647 - 1, 0}), 2147483648LL);
}

TEST(AllWithin, EveryPairCountsAndEmptyGroupsAnswerTrue) {
  const GroupSprites sprites = {At(1, "a", 0, 0), At(2, "b", 10, 0), At(3, "b", 0, 20)};
  EXPECT_TRUE(AllWithin(sprites, "a", "b", 20));
  EXPECT_FALSE(AllWithin(sprites, "a", "b", 19));
  EXPECT_TRUE(AllWithin(sprites, "none", "b", 0));
  EXPECT_TRUE(AllWithin(sprites, "a", "none", 0));
  // A sprite is never paired with itself: "a" alone within 0 of "a".
  EXPECT_TRUE(AllWithin(sprites, "a", "a", 0));
  // The b sprites are 22.36 apart, 22 once rounded.
  EXPECT_FALSE(AllWithin(sprites, "b", "b", 21));
  EXPECT_TRUE(AllWithin(sprites, "b", "b", 22));
}

TEST(AllOverlap, FirstPairApartAnswersFalse) {
  const GroupSprites sprites = {At(1, "a", 0, 0), At(2, "b", 15, 0), At(3, "b", 30, 0)};
  EXPECT_FALSE(AllOverlap(sprites, "a", "b"));
  EXPECT_TRUE(AllOverlap(sprites, "a", "b|x"));  // matches no sprite
  EXPECT_TRUE(AllOverlap({sprites[0], sprites[1]}, "a", "b"));
}

TEST(FindByAllTags, EveryPieceMustMatch) {
  const GroupSprites sprites = {At(1, "card|red", 0, 0), At(2, "card|blue", 0, 0), At(3, "slot|blue", 0, 0)};
  EXPECT_EQ(FindByAllTags(sprites, "blue|slot"), 3);
  EXPECT_EQ(FindByAllTags(sprites, "card|blue"), 2);
  EXPECT_EQ(FindByAllTags(sprites, "card||blue"), 2);  // the empty piece matches every sprite
  EXPECT_EQ(FindByAllTags(sprites, "card|green"), 0);
  EXPECT_EQ(FindByAllTags(sprites, ""), 1);
  EXPECT_EQ(FindByAllTags({}, ""), 0);
}

TEST(SnapNearest, NearestCandidateWithinLimitsEarlierOneOnTies) {
  const GroupSprites sprites = {At(1, "card", 100, 100), At(2, "slot", 130, 100), At(3, "slot", 70, 100),
                                At(4, "slot", 100, 120), At(5, "slots", 100, 101)};
  // Slots 2 and 3 are 30 away, slot 4 is 20 away; "slots" is not the name.
  EXPECT_EQ(SnapNearestCenter(sprites, 0, "slot", 50, 1000, 1000), (GroupPoint{100, 120}));
  // Without slot 4 (dy 20 > 10) the tie goes to slot 2, created first.
  EXPECT_EQ(SnapNearestCenter(sprites, 0, "slot", 50, 1000, 10), (GroupPoint{130, 100}));
  EXPECT_EQ(SnapNearestCenter(sprites, 0, "slot", 19, 1000, 1000), std::nullopt);
  EXPECT_EQ(SnapNearestCenter(sprites, 0, "slot", 50, 29, 19), std::nullopt);
  EXPECT_EQ(SnapNearestCenter(sprites, 0, "", 50, 1000, 1000), std::nullopt);
}

TEST(SnapNearest, ZeroDistanceDoesNothingEvenOnTheSameCentre) {
  const GroupSprites sprites = {At(1, "card", 100, 100), At(2, "slot", 100, 100)};
  EXPECT_EQ(SnapNearestCenter(sprites, 0, "slot", 0, 1000, 1000), std::nullopt);
  EXPECT_EQ(SnapNearestCenter(sprites, 0, "slot", 1, 1000, 1000), (GroupPoint{100, 100}));
  // The dragged sprite is never its own candidate.
  EXPECT_EQ(SnapNearestCenter(sprites, 1, "slot", 10, 1000, 1000), std::nullopt);
}

TEST(SnapAndPushSlots, NearestWithinDistanceAndFirstOccupantAtTheCentre) {
  const GroupSprites sprites = {At(1, "slot", 0, 0), At(2, "slot", 40, 0), At(3, "card", 40, 0),
                                At(4, "card", 38, 0)};
  EXPECT_EQ(NearestSlot(sprites, {0, 1}, {30, 0}, 15), std::optional<size_t>(1));
  EXPECT_EQ(NearestSlot(sprites, {0, 1}, {20, 0}, 20), std::optional<size_t>(0));  // tie: the earlier
  EXPECT_EQ(NearestSlot(sprites, {0, 1}, {20, 0}, 19), std::nullopt);
  EXPECT_EQ(FirstAtCenter(sprites, 3, "card", {40, 0}), std::optional<size_t>(2));
  EXPECT_EQ(FirstAtCenter(sprites, 2, "card", {40, 0}), std::nullopt);
}

// Draws from a script of numbers; every draw must lie in its range.
RandomBetween Scripted(std::deque<int> numbers) {
  return [numbers = std::make_shared<std::deque<int>>(std::move(numbers))](int lo, int hi) {
    EXPECT_FALSE(numbers->empty()) << "more draws than scripted";
    if (numbers->empty()) return lo;
    const int n = numbers->front();
    numbers->pop_front();
    EXPECT_GE(n, lo);
    EXPECT_LE(n, hi);
    return n;
  };
}

// Positions 0..n-1 after applying the swaps: which original position each
// sprite ends on.
std::vector<size_t> Apply(size_t n, const std::vector<std::pair<size_t, size_t>>& swaps) {
  std::vector<size_t> position(n);
  for (size_t i = 0; i < n; ++i) position[i] = i;
  for (const auto& [a, b] : swaps) std::swap(position[a], position[b]);
  return position;
}

TEST(ShufflePositions, FirstPickAlwaysMovesAndRedrawsEqualPartners) {
  // Two sprites always swap; j is drawn again while it equals i.
  EXPECT_EQ(Apply(2, ShuffleSwaps(2, Scripted({1, 1, 1, 0, 0}))), (std::vector<size_t>{1, 0}));
  EXPECT_TRUE(ShuffleSwaps(1, Scripted({})).empty());
  EXPECT_TRUE(ShuffleSwaps(0, Scripted({})).empty());
  // Four sprites: swap 2 and 0, then shuffle the list without 2 ([0, 1, 3])
  // by Fisher-Yates on their positions: k=0 with 2 (sprite 3), k=1 stays, k=2 stays.
  const auto swaps = ShuffleSwaps(4, Scripted({2, 0, 2, 1, 2}));
  EXPECT_EQ(swaps, (std::vector<std::pair<size_t, size_t>>{{2, 0}, {0, 3}}));
}

TEST(ShufflePositions, EveryOrderOfTheRestComesUp) {
  std::mt19937 engine(7);
  std::map<std::vector<size_t>, int> seen;
  const RandomBetween random = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine); };
  for (int round = 0; round < 3000; ++round) {
    const std::vector<size_t> result = Apply(3, ShuffleSwaps(3, random));
    EXPECT_NE(result, (std::vector<size_t>{0, 1, 2}));
    seen[result] += 1;
  }
  // The identity never comes up; the five other orders all do.
  EXPECT_EQ(seen.size(), 5u);
}

TEST(CountRelated, TheThreeRelationsAndTheFirstMatch) {
  // a1 is 10 from b2 and overlaps it; a3 lies far away; a4 is small and
  // lies inside b5, whose centre lies outside a4.
  const GroupSprites sprites = {At(1, "a", 0, 0),     At(2, "b", 10, 0),           At(3, "a", 500, 500),
                                {4, "a", {200, 0, 10, 10}}, {5, "b", {190, 0, 100, 100}}};
  struct Case {
    int32_t relation;
    const char* a;
    const char* b;
    int32_t distance;
    int32_t count;
    int32_t matched;
    int32_t first;
  };
  const Case cases[] = {
      {0, "a", "b", 10, 3, 1, 2}, {0, "a", "b", 9, 3, 0, 0}, {0, "a", "b", 100, 3, 2, 2},
      {1, "a", "b", 0, 3, 2, 2},  {2, "a", "b", 0, 3, 2, 2}, {2, "b", "a", 0, 2, 0, 0},
      {1, "", "", 0, 5, 4, 2},
  };
  for (const Case& c : cases) {
    RelatedCount counted;
    CountRelated(sprites, c.relation, c.a, c.b, c.distance, counted);
    const std::string label = std::to_string(c.relation) + " " + c.a + ">" + c.b + " " + std::to_string(c.distance);
    EXPECT_EQ(counted.count, c.count) << label;
    EXPECT_EQ(counted.matched, c.matched) << label;
    EXPECT_EQ(counted.first_match, c.first) << label;
  }
}

TEST(CountRelated, UnknownRelationFailsNamingIt) {
  RelatedCount counted;
  try {
    CountRelated({}, 3, "a", "b", 0, counted);
    FAIL() << "no failure";
  } catch (const EVkError& error) {
    EXPECT_STREQ(error.what(), "CountRelated: unknown relation 3 (0 within distance, 1 overlapping, 2 centre inside)");
  }
  EXPECT_THROW(CheckRelation(-1), EVkError);
}

TEST(CountRelated, PairListsSplitAtBothSeparators) {
  using Pairs = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(RelatedPairs("a>b"), (Pairs{{"a", "b"}}));
  EXPECT_EQ(RelatedPairs("a>b|c>d"), (Pairs{{"a", "b"}, {"c", "d"}}));
  EXPECT_EQ(RelatedPairs("a|b>c>d"), (Pairs{{"a", "b"}, {"c", "d"}}));
  EXPECT_EQ(RelatedPairs(""), Pairs{});
  EXPECT_THROW(RelatedPairs("a>b|c"), EVkError);
}

// A row of five slots 40 apart on y = 100, items on some of them, and the
// dragged item (handle 99) dropped on slot `drop`.
GroupSprites Row(std::initializer_list<int> occupied, int drop) {
  GroupSprites sprites;
  for (int k = 0; k < 5; ++k) sprites.push_back(At(10 + k, "slot|row", 100 + 40 * k, 100));
  for (int k : occupied) sprites.push_back(At(20 + k, "item", 100 + 40 * k, 100));
  sprites.push_back(At(99, "item", 100 + 40 * drop, 100));
  return sprites;
}

std::vector<std::pair<int32_t, int>> MovesOf(const RowPlan& plan) {
  std::vector<std::pair<int32_t, int>> moves;  // handle, target x
  for (const RowMove& move : plan.moves) moves.emplace_back(move.handle, move.target.x);
  return moves;
}

TEST(InsertIntoRow, OccupantsMoveTowardsTheNearestFreeSlot) {
  using Moves = std::vector<std::pair<int32_t, int>>;
  // Dropped on slot 1: slot 2 is free, so the item of slot 1 moves there.
  GroupSprites sprites = Row({0, 1, 3, 4}, 1);
  RowPlan plan = PlanInsertIntoRow(sprites, sprites.size() - 1, "row", "item", 0, {0, 0});
  EXPECT_TRUE(plan.acts);
  EXPECT_EQ(MovesOf(plan), (Moves{{21, 180}}));
  // Dropped on slot 4: nothing free to the right, slot 2 to the left: the
  // items of slots 3 and 4 move to slots 2 and 3.
  sprites = Row({0, 1, 3, 4}, 4);
  plan = PlanInsertIntoRow(sprites, sprites.size() - 1, "row", "item", 0, {0, 0});
  EXPECT_EQ(MovesOf(plan), (Moves{{23, 180}, {24, 220}}));
  // A full row: the dragged item goes away.
  sprites = Row({0, 1, 2, 3, 4}, 2);
  plan = PlanInsertIntoRow(sprites, sprites.size() - 1, "row", "item", 0, {7, 8});
  EXPECT_EQ(MovesOf(plan), (Moves{{99, 7}}));
  EXPECT_EQ(plan.moves[0].target.y, 8);
}

TEST(InsertIntoRow, OtherTypesSendOneSpriteAway) {
  using Moves = std::vector<std::pair<int32_t, int>>;
  const GroupSprites sprites = Row({0, 1}, 1);
  const size_t dragged = sprites.size() - 1;
  RowPlan plan = PlanInsertIntoRow(sprites, dragged, "row", "item", 1, {5, 6});
  EXPECT_EQ(MovesOf(plan), (Moves{{21, 5}}));
  EXPECT_EQ(plan.to_front, (std::vector<int32_t>{21, 99}));
  plan = PlanInsertIntoRow(sprites, dragged, "row", "item", 2, {5, 6});
  EXPECT_EQ(MovesOf(plan), (Moves{{99, 5}}));
  plan = PlanInsertIntoRow(sprites, dragged, "row", "item", 3, {5, 6});
  EXPECT_TRUE(plan.acts);
  EXPECT_TRUE(plan.moves.empty());
}

TEST(InsertIntoRow, NothingHappensWithoutAnOccupiedDropSlot) {
  // A free slot.
  GroupSprites sprites = Row({0}, 1);
  EXPECT_FALSE(PlanInsertIntoRow(sprites, sprites.size() - 1, "row", "item", 0, {0, 0}).acts);
  // Not on a slot.
  sprites = Row({0, 1}, 1);
  sprites.back().bounds.left += 3;
  EXPECT_FALSE(PlanInsertIntoRow(sprites, sprites.size() - 1, "row", "item", 0, {0, 0}).acts);
  // A slot that shares two names with the slot names is no drop slot.
  sprites = Row({0, 1}, 1);
  EXPECT_FALSE(PlanInsertIntoRow(sprites, sprites.size() - 1, "row|slot", "item", 0, {0, 0}).acts);
  EXPECT_FALSE(PlanInsertIntoRow(sprites, sprites.size() - 1, "", "item", 0, {0, 0}).acts);
  EXPECT_FALSE(PlanInsertIntoRow(sprites, sprites.size() - 1, "row", "", 0, {0, 0}).acts);
}

TEST(InsertIntoRow, AnItemOccupiesOnlyOneSlotAndTheSharedNameNamesTheRow) {
  using Moves = std::vector<std::pair<int32_t, int>>;
  // Two rows share the slot tag "slot"; the drop slot's row is "upper".
  GroupSprites sprites;
  for (int k = 0; k < 3; ++k) sprites.push_back(At(10 + k, "slot|upper", 100 + 40 * k, 100));
  for (int k = 0; k < 3; ++k) sprites.push_back(At(30 + k, "slot|lower", 100 + 40 * k, 200));
  // Two items stacked on slot 0 of the upper row; one item on lower slot 1.
  sprites.push_back(At(20, "item", 100, 100));
  sprites.push_back(At(21, "item", 100, 100));
  sprites.push_back(At(41, "item", 140, 200));
  sprites.push_back(At(99, "item", 100, 100));
  const RowPlan plan = PlanInsertIntoRow(sprites, sprites.size() - 1, "upper|lower", "item", 0, {0, 0});
  // Slot 0 holds only the first of the two stacked items; slot 1 of the
  // upper row is free (the lower row's item does not count), so item 20
  // moves there.
  EXPECT_EQ(MovesOf(plan), (Moves{{20, 140}}));
}

}  // namespace
}  // namespace vork
