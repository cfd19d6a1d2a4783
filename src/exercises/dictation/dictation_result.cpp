#include "exercises/dictation/dictation_result.h"

#include "text/normalize.h"

namespace vork {

std::size_t MeasureText(const std::vector<std::string>& lines) {
  std::size_t measure = 0;
  for (const std::string& line : lines) measure += NormalizeSpaces(line).size();
  return measure;
}

int DictationResult(bool written, std::size_t written_measure, std::size_t expected_measure) {
  if (!written) return 0;
  // In floating point, as the ratio always was: x / 0 is infinite (at least
  // half) and 0 / 0 is no number, which is not at least half.
  const double ratio = static_cast<double>(written_measure) / static_cast<double>(expected_measure);
  return ratio >= 0.5 ? 2 : 1;
}

}  // namespace vork
