#include "vkrun/console_object.h"

#include <ostream>
#include <string>

namespace vork {

void TVkConsoleObject::HandleMessage(int32_t message) {
  switch (message) {
    case 1:
      out_ << PopString() << '\n';
      break;
    case 2:
      out_ << PopInt() << '\n';
      break;
    case 3:
      PushString(std::to_string(PopInt()));
      break;
    default:
      TVkScriptObject::HandleMessage(message);
  }
}

}  // namespace vork
