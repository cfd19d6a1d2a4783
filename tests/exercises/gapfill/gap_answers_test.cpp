// Judging a learner's answers: write gaps with several answers, the "-" for
// an empty gap, apostrophe forms, Windows-1252 letters, drop-down choices.

#include <gtest/gtest.h>

#include "exercises/gapfill/gap_answers.h"

namespace vork {
namespace {

TEST(GapAnswers, ItemsSplitAtBarsAndStarsMarkThem) {
  EXPECT_EQ(ReadGapAnswers("went|has gone*"), (std::vector<GapItem>{{"went", false}, {"has gone", true}}));
  EXPECT_EQ(ReadGapAnswers(""), (std::vector<GapItem>{{"", false}}));
  EXPECT_EQ(ReadGapAnswers("a||*"), (std::vector<GapItem>{{"a", false}, {"", false}, {"", true}}));
  EXPECT_EQ(ReadGapAnswers("a**"), (std::vector<GapItem>{{"a*", true}}));
}

TEST(GapAnswers, ChoicesAreSortedIgnoringCaseAfterAnEmptyOne) {
  EXPECT_EQ(ReadGapChoices("mat*|hat|bat"),
            (std::vector<GapItem>{{"", false}, {"bat", false}, {"hat", false}, {"mat", true}}));
  EXPECT_EQ(ReadGapChoices("b|A|\xC4pfel|c"),
            (std::vector<GapItem>{{"", false}, {"A", false}, {"b", false}, {"c", false}, {"\xC4pfel", false}}));
  EXPECT_EQ(ReadGapChoices(""), (std::vector<GapItem>{{"", false}, {"", false}}));
  EXPECT_EQ(FirstMarkedChoice(ReadGapChoices("mat*|hat|bat*")), 1);
  EXPECT_EQ(FirstMarkedChoice(ReadGapChoices("mat|hat")), 0);
}

TEST(GapAnswers, CheckJudgesAndRewritesTheTypedText) {
  const struct {
    const char* answers;
    const char* typed;
    bool right;
    const char* shown;
  } cases[] = {
      {"went|has gone", "  Went ", true, "went"},
      {"went|has gone", "HAS GONE", true, "has gone"},
      {"went|has gone", "wend", false, "wen(d)"},
      {"went|has gone", "wen(d)", false, "wen(d)"},  // a second check judges "wend" again
      {"went|has gone", "we", false, "we"},
      {"went|has gone", "has  gone", false, "has ( gone)"},  // blanks inside must match
      {"went|has gone", "xyz", false, "(xyz)"},
      {"went|has gone", "", false, ""},
      {"-", "", true, ""},
      {"-", " - ", true, "-"},
      {"-", "x", false, "(x)"},
      {"", "", true, ""},
      {"don't", "don\xB4t", true, "don't"},
      {"don't", "DON\x92T", true, "don't"},
      {"don\x92t", "don't", true, "don't"},
      {"gr\xFC\xDF" "e", "GR\xDC\xDF" "E", true, "gr\xFC\xDF" "e"},
      {"gr\xFC\xDF" "e", "gr\xFC" "sse", false, "gr\xFC(sse)"},
      {"went*", "went", true, "went"},  // the mark is not part of the answer
  };
  for (const auto& c : cases) {
    const GapVerdict verdict = CheckWriteGapAnswer(ReadGapAnswers(c.answers), c.typed);
    EXPECT_EQ(verdict.right, c.right) << c.answers << " / " << c.typed;
    EXPECT_EQ(verdict.shown, c.shown) << c.answers << " / " << c.typed;
  }
}

TEST(GapAnswers, IsCorrectComparesTrimmedTextsOnly) {
  const auto answers = ReadGapAnswers("went|has gone|don't");
  EXPECT_TRUE(IsWriteGapAnswerCorrect(answers, " WENT "));
  EXPECT_TRUE(IsWriteGapAnswerCorrect(answers, "has gone"));
  EXPECT_FALSE(IsWriteGapAnswerCorrect(answers, "wen(t)"));
  EXPECT_FALSE(IsWriteGapAnswerCorrect(answers, "don\xB4t"));
  EXPECT_FALSE(IsWriteGapAnswerCorrect(ReadGapAnswers("-"), ""));
}

TEST(GapAnswers, HintIsTheAnswerNearestTheTypedText) {
  const auto answers = ReadGapAnswers("house|horse");
  EXPECT_EQ(WriteGapHint(answers, "hou"), "house");
  EXPECT_EQ(WriteGapHint(answers, "HOR"), "horse");
  EXPECT_EQ(WriteGapHint(answers, "xyz"), "house");
  EXPECT_EQ(WriteGapHint(answers, ""), "house");
}

}  // namespace
}  // namespace vork
