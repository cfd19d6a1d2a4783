#pragma once
// The answers of the gaps and how a learner's answer is judged. An item of a
// gap tag's "items" list that ends in "*" is marked: for a drop-down list
// the marked items are the right choices; write gaps keep the mark unused.

#include <string>
#include <string_view>
#include <vector>

namespace vork {

struct GapItem {
  std::string text;
  bool marked = false;

  bool operator==(const GapItem&) const = default;
};

// The answers of a write gap in markup order; an empty list gives one empty
// answer.
std::vector<GapItem> ReadGapAnswers(std::string_view items);

// The choices of a drop-down list: one empty item (nothing chosen yet), then
// the items sorted ignoring letter case. The "*" is still part of an item
// while sorting, so it can decide the order of otherwise equal items.
std::vector<GapItem> ReadGapChoices(std::string_view items);

// A write gap's check: whether the typed text is right, and the text the
// field shows afterwards. A right answer is shown as the answer is written;
// a wrong one keeps the part it shares with the nearest answer and puts the
// rest in brackets ("wen(d)" against "went"). Brackets left by an earlier
// check are ignored, so checking again judges the same answer.
struct GapVerdict {
  bool right = false;
  std::string shown;
};
GapVerdict CheckWriteGapAnswer(const std::vector<GapItem>& answers, std::string_view typed);

// The same judgement without rewriting: the trimmed text equals a trimmed
// answer, ignoring case (no apostrophe forms, no "-" for an empty gap).
bool IsWriteGapAnswerCorrect(const std::vector<GapItem>& answers, std::string_view typed);

// The answer nearest to a half-typed text (BestAnswer over the answers).
std::string WriteGapHint(const std::vector<GapItem>& answers, std::string_view typed);

// The index of the first marked choice, or 0 (the empty item) when none is.
int FirstMarkedChoice(const std::vector<GapItem>& choices);

}  // namespace vork
