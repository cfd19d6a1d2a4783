#pragma once
// TVkDictorObject (class 16): a dictation exercise on the stage. A click on
// its picture's hot spot runs the hot-spot routine with the object's handle.

#include <QPointer>
#include <cstdint>

#include "bridge/script_object.h"

namespace vork {

class TVkDictor;

class TVkDictorObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  // The control, or null once it has gone with the stage.
  TVkDictor* Dictor() const;

 private:
  TVkDictor& CheckedDictor() const;

  QPointer<TVkDictor> dictor_;
  int32_t hot_spot_handler_ = 0;
};

}  // namespace vork
