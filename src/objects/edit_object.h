#pragma once
// TVkEditObject (class 13): a one-line edit field on the stage. Its font is
// edited through its own font object (class 14), which it creates on
// initialise (kept out of the scene change's release, so that it goes exactly
// once: with its edit) and destroys on release.
//
// Enter in the field is swallowed and runs the Enter routine with the
// object's handle. Text crosses between the bytecode's Windows-1252 bytes and
// the control only through the one shared conversion.

#include <QPointer>
#include <cstdint>

#include "bridge/script_object.h"
#include "platform/qt/font.h"

class QLineEdit;

namespace vork {

class TVkEditObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  // The control, or null once it has gone.
  QLineEdit* Control() const;
  int32_t FontObject() const { return font_object_; }

 private:
  // The control; raises EVkError when it has gone with the stage.
  QLineEdit& Field() const;
  void ApplyFont();
  void EnterPressed();

  QPointer<QLineEdit> control_;
  TVkFont font_;
  int32_t font_object_ = 0;
  int32_t enter_handler_ = 0;
};

}  // namespace vork
