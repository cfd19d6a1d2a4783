#pragma once
// TVkWriteGap: a gap the learner types the missing word into.

#include <QLineEdit>
#include <QPointer>
#include <vector>

#include "exercises/gapfill/field_gap.h"
#include "exercises/gapfill/gap_answers.h"

class QFont;

namespace vork {

class TVkWriteGap : public TVkFieldGap {
 public:
  // A borderless one-line field on page, in font, width by height pixels.
  TVkWriteGap(QWidget* page, std::vector<GapItem> answers, const QFont& font, int32_t width, int32_t height);

  bool Check() override;
  void Clear() override;
  bool IsCorrect() const override;
  void ShowAnswer() override;

  const std::vector<GapItem>& Answers() const { return answers_; }
  // The text in the field, as Windows-1252 bytes.
  std::string Text() const;
  void SetText(std::string_view text);
  // The answer nearest the text typed so far.
  std::string Hint() const { return WriteGapHint(answers_, Text()); }
  QLineEdit* Field() const { return field_; }

 private:
  std::vector<GapItem> answers_;
  QPointer<QLineEdit> field_;
};

}  // namespace vork
