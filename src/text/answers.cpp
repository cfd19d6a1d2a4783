#include "text/answers.h"

#include <algorithm>

#include "text/normalize.h"

namespace vork {
namespace {

// Calls visit(candidate) for every "|"-separated candidate; none for an
// empty text.
template <typename Visit>
void ForEachCandidate(std::string_view candidates, Visit visit) {
  if (candidates.empty()) return;
  for (size_t start = 0;;) {
    const size_t end = candidates.find('|', start);
    visit(candidates.substr(start, end - start));
    if (end == std::string_view::npos) return;
    start = end + 1;
  }
}

size_t CommonPrefixLength(std::string_view a, std::string_view b) {
  const auto limit = std::min(a.size(), b.size());
  return static_cast<size_t>(std::mismatch(a.begin(), a.begin() + limit, b.begin()).first -
                             a.begin());
}

}  // namespace

std::string BestAnswer(std::string_view candidates, std::string_view input) {
  const std::string normal_input = NormalizeAnswer(input);
  std::string_view best;
  size_t best_length = 0;
  bool first = true;
  ForEachCandidate(candidates, [&](std::string_view candidate) {
    const size_t length = CommonPrefixLength(NormalizeAnswer(candidate), normal_input);
    if (first || length > best_length) {
      best = candidate;
      best_length = std::max(best_length, length);
      first = false;
    }
  });
  return std::string(best);
}

bool IsAcceptedAnswer(std::string_view candidates, std::string_view input) {
  const std::string normal_input = NormalizeAnswer(input);
  if (NormalizeAnswer(BestAnswer(candidates, input)) == normal_input) return true;
  // An empty input is judged by BestAnswer alone, so that a stray "|" at the
  // end of a candidate list does not make "no answer" a right answer.
  if (normal_input.empty()) return false;
  bool found = false;
  ForEachCandidate(candidates, [&](std::string_view candidate) {
    found = found || NormalizeAnswer(candidate) == normal_input;
  });
  return found;
}

}  // namespace vork
