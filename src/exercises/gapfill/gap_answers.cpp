#include "exercises/gapfill/gap_answers.h"

#include <algorithm>

#include "text/answers.h"
#include "text/normalize.h"
#include "platform/cp1252.h"

namespace vork {

namespace {

std::vector<std::string> SplitItems(std::string_view items) {
  std::vector<std::string> pieces;
  for (size_t start = 0;;) {
    const size_t end = items.find('|', start);
    pieces.emplace_back(items.substr(start, end - start));
    if (end == std::string_view::npos) return pieces;
    start = end + 1;
  }
}

GapItem Marked(std::string text) {
  const bool marked = !text.empty() && text.back() == '*';
  if (marked) text.pop_back();
  return {std::move(text), marked};
}

size_t SharedPrefixIgnoringCase(std::string_view a, std::string_view b) {
  size_t length = 0;
  while (length < a.size() && length < b.size() && LowerCp1252(a[length]) == LowerCp1252(b[length]))
    ++length;
  return length;
}

bool StandsForEmpty(std::string_view text) { return text.empty() || text == "-"; }

}  // namespace

std::vector<GapItem> ReadGapAnswers(std::string_view items) {
  std::vector<GapItem> answers;
  for (std::string& piece : SplitItems(items)) answers.push_back(Marked(std::move(piece)));
  return answers;
}

std::vector<GapItem> ReadGapChoices(std::string_view items) {
  std::vector<std::string> pieces = SplitItems(items);
  std::stable_sort(pieces.begin(), pieces.end(), LessIgnoreCase{});
  std::vector<GapItem> choices{GapItem{}};
  for (std::string& piece : pieces) choices.push_back(Marked(std::move(piece)));
  return choices;
}

GapVerdict CheckWriteGapAnswer(const std::vector<GapItem>& answers, std::string_view typed) {
  std::string typed_answer = NormalizeApostrophes(TrimBlanks(typed));
  std::erase_if(typed_answer, [](char c) { return c == '(' || c == ')'; });
  size_t shared = 0;
  for (const GapItem& item : answers) {
    std::string answer = NormalizeApostrophes(item.text);
    if (StandsForEmpty(answer) && StandsForEmpty(typed_answer)) return {true, typed_answer};
    if (EqualsIgnoreCase(typed_answer, answer)) return {true, std::move(answer)};
    shared = std::max(shared, SharedPrefixIgnoringCase(typed_answer, answer));
  }
  if (typed_answer.size() <= shared) return {false, typed_answer};
  return {false, typed_answer.substr(0, shared) + "(" + typed_answer.substr(shared) + ")"};
}

bool IsWriteGapAnswerCorrect(const std::vector<GapItem>& answers, std::string_view typed) {
  const std::string_view trimmed = TrimBlanks(typed);
  return std::any_of(answers.begin(), answers.end(), [&](const GapItem& item) {
    return EqualsIgnoreCase(TrimBlanks(item.text), trimmed);
  });
}

std::string WriteGapHint(const std::vector<GapItem>& answers, std::string_view typed) {
  // Every answer followed by "|", the last one too: the empty candidate
  // after it only ever wins when nothing else shares a first byte, and then
  // the first answer wins anyway.
  std::string candidates;
  for (const GapItem& item : answers) candidates += item.text + "|";
  return BestAnswer(candidates, typed);
}

int FirstMarkedChoice(const std::vector<GapItem>& choices) {
  const auto found = std::find_if(choices.begin(), choices.end(), [](const GapItem& item) { return item.marked; });
  return found == choices.end() ? 0 : static_cast<int>(found - choices.begin());
}

}  // namespace vork
