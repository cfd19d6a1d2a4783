#pragma once
// TVkMultiGap: a gap the learner fills by picking from a drop-down list.

#include <QComboBox>
#include <QPointer>
#include <vector>

#include "exercises/gapfill/field_gap.h"
#include "exercises/gapfill/gap_answers.h"

class QFont;

namespace vork {

class TVkMultiGap : public TVkFieldGap {
 public:
  // A drop-down list (no typing) of choices on page, in font, width pixels
  // wide and at most max_height tall; the first choice (the empty one) is
  // selected.
  TVkMultiGap(QWidget* page, std::vector<GapItem> choices, const QFont& font, int32_t width, int32_t max_height);
  ~TVkMultiGap() override;

  // Right when the selected choice is marked; selecting is all it changes.
  bool Check() override { return IsCorrect(); }
  void Clear() override;
  bool IsCorrect() const override;
  void ShowAnswer() override;

  const std::vector<GapItem>& Choices() const { return choices_; }
  int Selected() const;
  QComboBox* Field() const { return field_; }

 private:
  void Select(int index);

  std::vector<GapItem> choices_;
  QPointer<QComboBox> field_;
};

}  // namespace vork
