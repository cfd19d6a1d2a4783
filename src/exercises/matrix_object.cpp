#include "exercises/matrix_object.h"

#include "archives/stream.h"
#include "resources/res_manager.h"

namespace vork {

void TVkMatrixObject::Init() { matrix_ = std::make_unique<TVkMatrix>(); }

void TVkMatrixObject::Release() { matrix_.reset(); }

void TVkMatrixObject::HandleMessage(int32_t message) {
  switch (message) {
    case 0: {
      const std::string name = PopString();
      matrix_->LoadFromStream(*ResManager().OpenResource(name));
      break;
    }
    case 1: PushInt(matrix_->Width()); break;
    case 2: PushInt(matrix_->Height()); break;
    case 3: {
      const int32_t fallback = PopInt();
      const int32_t y = PopInt();
      const int32_t x = PopInt();
      PushInt(matrix_->ValueAt(x, y, fallback));
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
