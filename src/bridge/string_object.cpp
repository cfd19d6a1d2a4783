#include "bridge/string_object.h"

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "vm/processor.h"

namespace vork {

void TVkStringObject::ThrowTooLong() {
  throw EVkError("string message 2: the text would grow beyond " + std::to_string(max_text_length) + " bytes");
}

void TVkStringObject::ThrowNotAString(int32_t handle) {
  throw EVkError("string message: argument " + HandleText(handle) + " is not a live string object");
}

static_assert(ToWord(StringMessage::Compare) == TVkStringObject::kLastStringMessage);

void TVkStringObject::HandleMessage(int32_t message) {
  if (message < 0 || message > kLastStringMessage) {
    TVkScriptObject::HandleMessage(message);
    return;
  }
  const int32_t answer = ApplyStringMessage(message, PopInt());
  if (message == ToWord(StringMessage::Compare)) PushInt(answer);
}

}  // namespace vork
