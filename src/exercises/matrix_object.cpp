#include "exercises/matrix_object.h"

#include "archives/stream.h"
#include "bridge/messages.h"
#include "resources/res_manager.h"

namespace vork {

void TVkMatrixObject::Init() { matrix_ = std::make_unique<TVkMatrix>(); }

void TVkMatrixObject::Release() { matrix_.reset(); }

void TVkMatrixObject::HandleMessage(int32_t message) {
  switch (static_cast<MatrixMessage>(message)) {
    case MatrixMessage::Load: {
      const std::string name = PopString();
      matrix_->LoadFromStream(*ResManager().OpenResource(name));
      break;
    }
    case MatrixMessage::Width: PushInt(matrix_->Width()); break;
    case MatrixMessage::Height: PushInt(matrix_->Height()); break;
    case MatrixMessage::ValueAt: {
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
