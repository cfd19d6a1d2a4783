#pragma once
// A line edit for a learner's answer. Qt selects a field's whole text when
// Tab brings the focus; a learner coming back to a field goes on typing where
// the caret was instead of replacing the answer.

#include <QFocusEvent>
#include <QLineEdit>

namespace vork {

class TAnswerLineEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QFocusEvent plain(event->type(), Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&plain);
  }
};

}  // namespace vork
