#include "bridge/tag_set.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TVkSet SetOf(std::string_view text) {
  TVkSet set;
  set.SetText(text);
  return set;
}

TEST(TagSetTest, TextSplitsAtEverySeparatorKeepingEmptyPieces) {
  struct Case {
    const char* text;
    std::vector<std::string> elements;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a||b", {"a", "", "b"}},
      {"a|", {"a", ""}},
      {"|", {"", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const TVkSet set = SetOf(c.text);
    ASSERT_EQ(set.Count(), static_cast<int>(c.elements.size()));
    for (int i = 0; i < set.Count(); ++i) EXPECT_EQ(set.At(i), c.elements[static_cast<size_t>(i)]);
    EXPECT_EQ(set.GetText(), c.text);
  }
}

TEST(TagSetTest, IntersectAndDisjointTreatAnEmptySetSpecially) {
  struct Case {
    const char* left;
    const char* right;
    const char* intersection;
    bool disjoint;
  };
  const Case cases[] = {
      {"a|b|c|b", "b|c", "b|c|b", false},
      {"a|b", "c", "", true},
      {"a|b", "", "", true},
      {"", "a", "", true},
      {"Red", "red", "", true},  // names compare case-sensitively
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.left) + " / " + c.right);
    TVkSet left = SetOf(c.left);
    EXPECT_EQ(left.IsDisjoint(SetOf(c.right)), c.disjoint);
    left.Intersect(SetOf(c.right));
    EXPECT_EQ(left.GetText(), c.intersection);
  }
  const TVkSet set = SetOf("x|y|x");
  EXPECT_EQ(set.IndexOf("x"), 0);
  EXPECT_EQ(set.IndexOf("y"), 1);
  EXPECT_EQ(set.IndexOf("X"), -1);
}

}  // namespace
}  // namespace vork
