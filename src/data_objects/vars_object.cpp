#include "data_objects/vars_object.h"

namespace vork {

void TVkVarsObject::Init() { store_ = std::make_unique<TVkReg>(); }

void TVkVarsObject::Release() { store_.reset(); }

void TVkVarsObject::HandleMessage(int32_t message) {
  switch (message) {
    case 0: SetAutoRelease((PopInt() & 0xFF) != 0); break;
    case 1: store_->DeleteMatching("", ""); break;
    case 2: {
      const std::string value = PopString();
      store_->WriteString(PopString(), value);
      break;
    }
    case 3: {
      const std::string fallback = PopString();
      PushString(store_->ReadString(PopString(), fallback));
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
