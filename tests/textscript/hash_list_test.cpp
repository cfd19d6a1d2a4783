#include "textscript/hash_list.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "textscript/dict.h"
#include "textscript/object_list.h"

namespace vork {
namespace {

// The names of a list in ForEach order, joined by spaces.
template <typename Value>
std::string WalkOrder(THashList<Value>& list) {
  std::string order;
  list.ForEach([&](const std::string& name, Value&) {
    if (!order.empty()) order += ' ';
    order += name;
    return true;
  });
  return order;
}

TEST(NameHash, RotatesRightAndClearsTheTopBit) {
  // Values worked out by hand from the rule, for names whose hash overflows
  // 31 bits and for a byte above 127 (taken unsigned).
  EXPECT_EQ(DefaultNameHash(""), 0);
  EXPECT_EQ(DefaultNameHash("a"), 97);
  EXPECT_EQ(DefaultNameHash("ab"), 67108868);
  EXPECT_EQ(DefaultNameHash("intro"), 2022762848);
  EXPECT_EQ(DefaultNameHash("Intro"), 1954597184);
  EXPECT_EQ(DefaultNameHash("sceneVar\xE9"), 1128698909);
}

TEST(NameOrder, ComparesUnsignedBytesWithPrefixesFirst) {
  EXPECT_LT(CompareNames("ab", "abc"), 0);
  EXPECT_GT(CompareNames("abc", "ab"), 0);
  EXPECT_EQ(CompareNames("abc", "abc"), 0);
  EXPECT_LT(CompareNames("B", "a"), 0);
  EXPECT_LT(CompareNames("z", "\xE9"), 0);
}

TEST(HashList, FindsAddsAndRemovesNamesExactly) {
  THashList<int> list(7);
  list.Add("Play", 1);
  list.Add("play", 2);
  list.Add("PLAY", 3);
  EXPECT_EQ(list.Count(), 3);
  ASSERT_NE(list.Find("play"), nullptr);
  EXPECT_EQ(*list.Find("play"), 2);
  EXPECT_EQ(*list.Find("PLAY"), 3);
  EXPECT_EQ(list.Find("pla"), nullptr);

  EXPECT_EQ(list.Remove("Play"), 1);
  EXPECT_EQ(list.Find("Play"), nullptr);
  EXPECT_EQ(list.Count(), 2);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Find("play"), nullptr);
}

TEST(HashList, RefusesADuplicateAndAMissingName) {
  THashList<int> list(3);
  list.Add("x", 1);
  try {
    list.Add("x", 2);
    FAIL() << "duplicate accepted";
  } catch (const EHashList& error) {
    EXPECT_STREQ(error.what(), "Duplicate hash list entry: x");
  }
  EXPECT_EQ(*list.Find("x"), 1);
  try {
    list.Remove("y");
    FAIL() << "missing name removed";
  } catch (const EHashList& error) {
    EXPECT_STREQ(error.what(), "Tried to remove invalid node: y");
  }
  EXPECT_EQ(list.Count(), 1);
}

// One bucket makes one tree, so the walk shows its shape:
//          m
//      f       t
//    c   h   p   w
//       g     q
TEST(HashList, RemovalsAlternateBetweenSuccessorAndPredecessor) {
  THashList<int> list(1);
  int value = 0;
  for (const char* name : {"m", "f", "t", "c", "h", "g", "p", "q", "w"}) list.Add(name, ++value);
  ASSERT_EQ(WalkOrder(list), "m f c h g t p q w");

  struct Removal {
    const char* name;
    const char* order_after;
  };
  const Removal removals[] = {
      {"m", "p f c h g t q w"},  // successor p, the leftmost under t; t keeps q
      {"p", "h f c g t q w"},    // predecessor h, the rightmost under f; f keeps g
      {"h", "q f c g t w"},      // successor q
      {"q", "g f c t w"},        // predecessor g
      {"g", "t f c w"},          // successor t, which has no left child
      {"t", "f c w"},            // predecessor f, which has no right child
      {"f", "w c"},              // successor w, a leaf
      {"c", "w"},                // predecessor side of a leaf: its link empties
  };
  for (const Removal& removal : removals) {
    const int expected = *list.Find(removal.name);
    EXPECT_EQ(list.Remove(removal.name), expected);
    EXPECT_EQ(WalkOrder(list), removal.order_after) << "after removing " << removal.name;
  }
  EXPECT_EQ(list.Count(), 1);
}

TEST(HashList, WalksBucketsInOrderAndStopsWhenAsked) {
  // A hash that places each name by its first byte.
  THashList<int> list(3, [](std::string_view name) { return static_cast<int32_t>(name[0] - 'a'); });
  for (const char* name : {"c1", "b1", "a2", "a1", "a3"}) list.Add(name, 0);
  EXPECT_EQ(WalkOrder(list), "a2 a1 a3 b1 c1");

  std::vector<std::string> seen;
  const bool finished = list.ForEach([&](const std::string& name, int&) {
    seen.push_back(name);
    return name != "a3";
  });
  EXPECT_FALSE(finished);
  EXPECT_EQ(seen, (std::vector<std::string>{"a2", "a1", "a3"}));
}

TEST(HashList, CustomOrderDecidesWhatIsTheSameName) {
  THashList<int> list(5, [](std::string_view) { return 0; },
                      [](std::string_view a, std::string_view b) { return CompareNames(a.substr(0, 1), b.substr(0, 1)); });
  list.Add("apple", 1);
  EXPECT_THROW(list.Add("avocado", 2), EHashList);
  EXPECT_EQ(*list.Find("ant"), 1);
}

// Runs body on a thread with a 64 KiB stack: deep enough for any loop, far
// too shallow for a recursion over thousands of nodes.
void RunOnSmallStack(const std::function<void()>& body) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 64 * 1024);
  pthread_t thread;
  auto run = [](void* argument) -> void* {
    (*static_cast<const std::function<void()>*>(argument))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&body)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

TEST(HashList, FreesAndWalksATreeAsDeepAsItIsLong) {
  // Sorted names in one bucket make a single right-leaning chain.
  THashList<int> list(1);
  constexpr int kNames = 5000;
  char name[16];
  for (int i = 0; i < kNames; ++i) {
    std::snprintf(name, sizeof name, "%08d", i);
    list.Add(name, i);
  }
  int visited = 0;
  RunOnSmallStack([&] {
    list.ForEach([&](const std::string&, int&) { return ++visited > 0; });
    list.Clear();
  });
  EXPECT_EQ(visited, kNames);
  EXPECT_EQ(list.Count(), 0);
}

TEST(Dict, KeepsTheFirstValueOfANameAndOwnsWhatItHolds) {
  auto counter = std::make_shared<int>(0);
  {
    TVkDict<std::shared_ptr<int>> dict;
    EXPECT_TRUE(dict.Add("intro", counter));
    EXPECT_FALSE(dict.Add("intro", std::make_shared<int>(5)));
    const std::shared_ptr<int>* kept = dict.Find("intro");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->get(), counter.get());
    EXPECT_TRUE(dict.Add("Intro", counter));
    EXPECT_EQ(counter.use_count(), 3);
    EXPECT_TRUE(dict.Remove("Intro"));
    EXPECT_FALSE(dict.Remove("Intro"));
    EXPECT_EQ(counter.use_count(), 2);
  }
  EXPECT_EQ(counter.use_count(), 1);
}

TEST(ObjList, MapsIdsToClassAndObjectWord) {
  TVkObjList objects;
  EXPECT_TRUE(objects.Add("intro", 1, 7));
  EXPECT_FALSE(objects.Add("intro", 2, 8));
  ASSERT_TRUE(objects.Find("intro").has_value());
  EXPECT_EQ(objects.Find("intro")->class_index, 1);
  EXPECT_EQ(objects.Find("intro")->object_word, 7);
  EXPECT_FALSE(objects.Find("INTRO").has_value());
  EXPECT_TRUE(objects.Remove("intro"));
  EXPECT_FALSE(objects.Remove("intro"));
  EXPECT_FALSE(objects.Find("intro").has_value());
}

}  // namespace
}  // namespace vork
