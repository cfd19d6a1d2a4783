#pragma once
// TVkUserListComboBoxObject (class 20): an editable drop-down list of the
// learners known in the users directory, where a learner picks or types a
// name. What the bytecode reads back is the typed text in its display form
// (spaces normalised, first letter capital). Enter is swallowed and runs the
// Enter routine, as in the edit field.

#include <QPointer>
#include <cstdint>

#include "bridge/script_object.h"

class QComboBox;

namespace vork {

class TVkUserListComboBoxObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  // The control, or null once it has gone.
  QComboBox* Control() const;

 private:
  // The control; raises EVkError when it has gone with the stage.
  QComboBox& Box() const;
  void FillUsers();
  void EnterPressed();

  QPointer<QComboBox> control_;
  int32_t enter_handler_ = 0;
};

}  // namespace vork
