#pragma once
// TVkVarsObject (class 22): a named store of string values held in memory
// only (a settings store without a file, so nothing reaches the disk). Like
// every scene object it goes at the next scene change, unless the bytecode
// clears its auto-release flag (message 0 with 0); then it lives until the
// bytecode destroys it, which lets a course carry values from scene to scene.
//
// It owns nothing on the stage, so it builds without Qt.

#include <memory>

#include "bridge/script_object.h"
#include "users/reg.h"

namespace vork {

class TVkVarsObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

 private:
  std::unique_ptr<TVkReg> store_;
};

}  // namespace vork
