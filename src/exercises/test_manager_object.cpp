#include "exercises/test_manager_object.h"

#include "data_objects/string_list_object.h"

namespace vork {

void TVkSa1TestManagerObject::Init() { manager_ = std::make_unique<TSa1TestManager>(); }

void TVkSa1TestManagerObject::Release() { manager_.reset(); }

void TVkSa1TestManagerObject::HandleMessage(int32_t message) {
  switch (message) {
    case 0: {
      const std::string level_definitions = PopString();
      const std::string state = PopString();
      const std::string item_resource = PopString();
      PushBool(manager_->Setup(item_resource, state, level_definitions));
      break;
    }
    case 1: {
      const int32_t list = PopInt();
      const int32_t wanted = PopInt();
      std::vector<std::string> lines;
      manager_->SelectItems(wanted, lines);
      StringListAt(Manager(), list).SetTexts(lines);
      PushBool(true);
      break;
    }
    case 2: {
      const bool correct = PopInt() != 0;
      manager_->RecordAnswer(PopString(), correct);
      PushBool(true);
      break;
    }
    case 3: PushString(manager_->State()); break;
    case 4: PushInt(manager_->CountAtLevel(PopInt())); break;
    case 5: PushBool(manager_->LastWasNew()); break;
    case 6: PushInt(manager_->LastLevel()); break;
    case 7: PushString(manager_->ErrorText()); break;
    case 8: {
      const std::string suffix = PopString();
      const std::string item_resource = PopString();
      PushString(manager_->StateKey(item_resource, suffix));
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
