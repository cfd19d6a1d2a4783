// The dictation's coarse result: how text is measured and where the half
// lies.

#include "exercises/dictation/dictation_result.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(DictationResult, MeasureTrimsLinesAndCountsEachRunOfBlanksOnce) {
  const struct {
    std::vector<std::string> lines;
    std::size_t measure;
  } cases[] = {
      {{}, 0},
      {{"", "   ", "\t"}, 0},
      {{"  Der Hund  "}, 8},
      {{"a \t b", "c\r\n\x01" "d"}, 3 + 3},
      {{"\xE4\xF6\xFC", " x "}, 3 + 1},
  };
  for (const auto& c : cases) EXPECT_EQ(MeasureText(c.lines), c.measure) << ::testing::PrintToString(c.lines);
}

TEST(DictationResult, HalfOfTheExpectedTextIsTheLine) {
  const struct {
    bool written;
    std::size_t written_measure, expected_measure;
    int result;
  } cases[] = {
      {false, 80, 80, 0},  // only the learner's writing counts
      {true, 40, 80, 2},  {true, 39, 80, 1}, {true, 0, 80, 1}, {true, 200, 80, 2},
      {true, 1, 0, 2},    {true, 0, 0, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DictationResult(c.written, c.written_measure, c.expected_measure), c.result)
        << c.written << " " << c.written_measure << "/" << c.expected_measure;
  }
}

}  // namespace
}  // namespace vork
