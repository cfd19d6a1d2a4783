// Reading the gap markup: words, gap tags and their attributes, and the
// malformed lines a course text may hold.

#include <gtest/gtest.h>

#include "exercises/gapfill/gap_markup.h"

namespace vork {
namespace {

constexpr auto kText = GapTokenKind::kText;
constexpr auto kWrite = GapTokenKind::kWriteGap;
constexpr auto kMulti = GapTokenKind::kMultiGap;
constexpr auto kOther = GapTokenKind::kOtherGap;

TEST(GapMarkup, LinesSplitIntoWordsAndTags) {
  const struct {
    const char* line;
    std::vector<GapMarkupToken> tokens;
  } cases[] = {
      {R"(The <gap type="write" items="went|has gone" comment="past tense"> on the <gap type="multi" items="mat*|hat|bat">)",
       {{kText, "The"},
        {kWrite, R"(<gap type="write" items="went|has gone" comment="past tense">)"},
        {kText, "on"},
        {kText, "the"},
        {kMulti, R"(<gap type="multi" items="mat*|hat|bat">)"}}},
      {"  two \t words\r ", {{kText, "two"}, {kText, "words"}}},
      {"", {}},
      {" \t ", {}},
      // Tags that are no gaps are words like any other, drawn as written.
      {"<b>bold</b> end", {{kText, "<b>"}, {kText, "bold</b>"}, {kText, "end"}}},
      {R"(<GAP type="write">)", {{kText, R"(<GAP type="write">)"}}},
      {R"(<gap items="a">)", {{kText, R"(<gap items="a">)"}}},
      {R"(<gap type="">)", {{kText, R"(<gap type="">)"}}},
      {R"(<gapx type="write">)", {{kText, R"(<gapx type="write">)"}}},
      // Any other type takes the tag off the page.
      {R"(a <gap type="picture" items="x"> b)", {{kText, "a"}, {kOther, R"(<gap type="picture" items="x">)"}, {kText, "b"}}},
      // A tag runs to its first ">", blanks included, wherever that is.
      {R"(<gap   type="write"  items="a b">x)", {{kWrite, R"(<gap   type="write"  items="a b">)"}, {kText, "x"}}},
      {R"(<gap type="write" items="a>b"> c)", {{kWrite, R"(<gap type="write" items="a>)"}, {kText, R"(b">)"}, {kText, "c"}}},
      // A "<" that never closes drops the rest of its line.
      {R"(kept <gap type="write" items="went)", {{kText, "kept"}}},
      {"a <b c", {{kText, "a"}}},
      {"a<b c", {{kText, "a<b"}, {kText, "c"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadGapMarkupLine(c.line), c.tokens) << c.line;
}

TEST(GapMarkup, AttributesReadUpToTheNextQuote) {
  const struct {
    const char* tag;
    const char* name;
    const char* value;
  } cases[] = {
      {R"(<gap type="write" items="went|has gone*">)", "items", "went|has gone*"},
      {R"(<gap type="write" initialtext="go ">)", "initialtext", "go "},
      {R"(<gap type="write">)", "items", ""},
      {R"(<gap type="write" items="open>)", "items", ""},
      {R"(<gap type="write" Items="x">)", "items", ""},
      {R"(<gap type = "write">)", "type", ""},
      // The first occurrence counts, even inside another attribute's value.
      {R"(<gap comment="say type="multi"" type="write">)", "type", "multi"},
      {R"(<gap items="a" items="b">)", "items", "a"},
      {R"(<gap items="">)", "items", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(GapTagAttribute(c.tag, c.name), c.value) << c.tag << " " << c.name;
}

TEST(GapMarkup, SpellModeGivesUncommentedGapsTheSpellComment) {
  const char* commented = R"(<gap type="write" comment="past tense">)";
  const char* plain = R"(<gap type="write">)";
  EXPECT_EQ(GapComment(commented, false), "past tense");
  EXPECT_EQ(GapComment(commented, true), "past tense");
  EXPECT_EQ(GapComment(plain, false), "");
  EXPECT_EQ(GapComment(plain, true), "!spell");
}

}  // namespace
}  // namespace vork
