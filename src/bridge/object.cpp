#include "bridge/object.h"

#include "vm/fatal_check.h"

namespace vork {

void TVkObject::HandleMessage(int32_t message) {
  if (message == -3) {
    Release();
  } else if (message == -2) {
    Init();
  } else if (message >= 0) {
    FailFatalCheck("TVkObject: Unknown msg (ClassIndex=" + std::to_string(class_index_) +
                   " MsgIndex=" + std::to_string(message) + ")");
  }
}

}  // namespace vork
