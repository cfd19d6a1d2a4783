#include "data_objects/vars_object.h"

#include "bridge/messages.h"

namespace vork {

void TVkVarsObject::Init() { store_ = std::make_unique<TVkReg>(); }

void TVkVarsObject::Release() { store_.reset(); }

void TVkVarsObject::HandleMessage(int32_t message) {
  switch (static_cast<VarsMessage>(message)) {
    case VarsMessage::SetAutoRelease: SetAutoRelease((PopInt() & 0xFF) != 0); break;
    case VarsMessage::Clear: store_->DeleteMatching("", ""); break;
    case VarsMessage::Set: {
      const std::string value = PopString();
      store_->WriteString(PopString(), value);
      break;
    }
    case VarsMessage::Get: {
      const std::string fallback = PopString();
      PushString(store_->ReadString(PopString(), fallback));
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
