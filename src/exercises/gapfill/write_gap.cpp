#include "exercises/gapfill/write_gap.h"

#include <QLineEdit>

#include "platform/qt/answer_line_edit.h"
#include "platform/qt/qt_text.h"

namespace vork {

TVkWriteGap::TVkWriteGap(QWidget* page, std::vector<GapItem> answers, const QFont& font, int32_t width,
                         int32_t height)
    : answers_(std::move(answers)) {
  auto* field = new TAnswerLineEdit(page);
  field_ = field;
  field->setFrame(false);
  field->setFont(font);
  field->setTextMargins(0, 0, 0, 0);
  field->resize(width, height);
  Adopt(field);
  // Programmatic changes count too: a checked answer rewritten in brackets,
  // a revealed answer.
  QObject::connect(field, &QLineEdit::textChanged, [this] { AnswerChanged(); });
  field->show();
}

std::string TVkWriteGap::Text() const { return field_ ? FromQString(field_->text()) : std::string(); }

void TVkWriteGap::SetText(std::string_view text) {
  if (field_) field_->setText(ToQString(text));
}

bool TVkWriteGap::Check() {
  GapVerdict verdict = CheckWriteGapAnswer(answers_, Text());
  SetText(verdict.shown);
  return verdict.right;
}

void TVkWriteGap::Clear() { SetText(""); }

bool TVkWriteGap::IsCorrect() const { return IsWriteGapAnswerCorrect(answers_, Text()); }

void TVkWriteGap::ShowAnswer() {
  if (Check()) return;
  SetText(answers_.empty() ? "?????" : answers_.front().text);
}

}  // namespace vork
