#pragma once
// TVkMatrixObject (class 26): the bytecode's handle on a matrix, loaded from
// a bitmap resource and asked for the byte at a point.

#include <memory>

#include "bridge/script_object.h"
#include "exercises/matrix.h"

namespace vork {

class TVkMatrixObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

 private:
  std::unique_ptr<TVkMatrix> matrix_;
};

}  // namespace vork
