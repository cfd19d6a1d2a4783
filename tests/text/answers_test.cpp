#include "text/answers.h"

#include <gtest/gtest.h>

#include "text/normalize.h"

namespace vork {
namespace {

TEST(Normalize, TrimsBlanksAndKeepsTheLastByteOfEveryRun) {
  struct Case { const char* text; const char* normal; } cases[] = {
      {"  a \t  b ", "a b"},
      {"a \t b", "a b"},
      {"a  \tb", "a\tb"},
      {"a\r\nb", "a\nb"},
      {"", ""},
      {" \t\r\n", ""},
      {"\x01" "a\x1F", "a"},
      // Bytes from 128 up are letters and signs, not blanks.
      {"\xA0" "a\xA0", "\xA0" "a\xA0"},
      {"caf\xE9  au \xE9t\xE9", "caf\xE9 au \xE9t\xE9"},
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeSpaces(c.text), c.normal) << c.text;
}

TEST(Normalize, AnswerFormReplacesApostrophesAndLowersWindows1252Letters) {
  EXPECT_EQ(NormalizeApostrophes("it\x92s \xB4n' \x91"), "it's 'n' \x91");
  EXPECT_EQ(NormalizeAnswer("  It\x92S   \xC4RGER\x8A "), "it's \xE4rger\x9A");
}

TEST(BestAnswer, PicksTheCandidateSharingTheLongestPrefixAsWritten) {
  struct Case { const char* candidates; const char* input; const char* best; } cases[] = {
      {"house|horse", "hou", "house"},
      {"house|horse", "hor", "horse"},
      {"house|horse", "xyz", "house"},     // nothing shared: the first
      {"house|horse", "ho", "house"},      // a tie keeps the earlier one
      {"abc|ab", "ab", "abc"},
      {"ab|abc", "abc", "abc"},
      {"Colour|color", " COLOR", "color"},
      {"It\x92s|its", "it's", "It\x92s"},
      {"  Good   Morning |x", "good morning", "  Good   Morning "},
      {"a||b", "b", "b"},
      {"house|horse|", "", "house"},
      {"", "abc", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BestAnswer(c.candidates, c.input), c.best) << c.candidates << " / " << c.input;
  }
}

TEST(AcceptedAnswer, ComparesNormalFormsOfTheInputAndTheCandidates) {
  struct Case { const char* candidates; const char* input; bool accepted; } cases[] = {
      {"colour|color", "Color ", true},
      {"colour|color", "colr", false},
      {"colour|color", "colours", false},
      {"It\x92s", " it\xB4s", true},
      {"\xC4rger", "\xE4RGER", true},
      {"ab|abc", "ab", true},
      // A longer earlier candidate starting with the input must not hide an
      // exact later one.
      {"abc|ab", "ab", true},
      {"abc|ab", "a", false},
      {"|abc", "", true},
      // A stray trailing bar does not make an empty input right.
      {"abc|", "", false},
      {"abc|", "  ", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsAcceptedAnswer(c.candidates, c.input), c.accepted)
        << c.candidates << " / " << c.input;
  }
}

}  // namespace
}  // namespace vork
