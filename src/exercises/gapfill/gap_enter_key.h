#pragma once
// Enter in a gap's field: reported when the key is released with no Shift,
// Ctrl or Alt and no mouse button held. The key itself goes on to the field
// (and to the main window's key handling) as any other key does.

#include <QObject>
#include <functional>

namespace vork {

class GapEnterKey : public QObject {
  Q_OBJECT

 public:
  // Watches field's keys; field owns the watcher.
  explicit GapEnterKey(QObject* field);

  // May free the gap, the field and this watcher (deleted later) while it
  // runs.
  std::function<void()> OnEnter;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vork
