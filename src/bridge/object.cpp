#include "bridge/object.h"

#include "bridge/messages.h"
#include "vm/fatal_check.h"

namespace vork {

void TVkObject::HandleMessage(int32_t message) {
  if (message == ToWord(CommonMessage::Release)) {
    Release();
  } else if (message == ToWord(CommonMessage::Init)) {
    Init();
  } else if (message >= 0) {
    FailFatalCheck("TVkObject: Unknown msg (ClassIndex=" + std::to_string(class_index_) +
                   " MsgIndex=" + std::to_string(message) + ")");
  }
}

}  // namespace vork
