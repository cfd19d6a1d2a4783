#pragma once
// The Enter key of the one-line controls (edit field, user list): the key is
// swallowed before the control sees it (an edit would beep, an editable combo
// box would add its text as an item) and reported through OnEnter. Every
// other key reaches the control unchanged.

#include <QObject>
#include <functional>

namespace vork {

class EnterKeyFilter : public QObject {
  Q_OBJECT

 public:
  // Watches target's keys; target owns the filter.
  explicit EnterKeyFilter(QObject* target);

  // May destroy the object that set it, and so clear it, while it runs.
  std::function<void()> OnEnter;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vork
