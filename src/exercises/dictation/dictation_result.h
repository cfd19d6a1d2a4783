#pragma once
// The dictation's coarse result: it does not compare words, only how much
// the learner wrote against the expected text.

#include <cstddef>
#include <string>
#include <vector>

namespace vork {

// The sum over the lines of their length once trimmed, with every run of
// characters below 33 inside a line counted as one.
std::size_t MeasureText(const std::vector<std::string>& lines);

// 0 when the learner wrote nothing; else 2 when the written measure is at
// least half the expected one, 1 when it is less. An expected measure of 0
// (no expected text) gives 2 for any written text and 1 for none.
int DictationResult(bool written, std::size_t written_measure, std::size_t expected_measure);

}  // namespace vork
