#include "exercises/test_manager_object.h"

#include "bridge/messages.h"
#include "data_objects/string_list_object.h"
#include "platform/diagnostic_log.h"

namespace vork {

namespace {

TVkSa1TestManagerObject::NoteShower& Shower() {
  static TVkSa1TestManagerObject::NoteShower shower;
  return shower;
}

}  // namespace

void TVkSa1TestManagerObject::SetNoteShower(NoteShower shower) { Shower() = std::move(shower); }

void TVkSa1TestManagerObject::Init() { manager_ = std::make_unique<TSa1TestManager>(); }

void TVkSa1TestManagerObject::Release() { manager_.reset(); }

void TVkSa1TestManagerObject::HandleMessage(int32_t message) {
  switch (static_cast<TestManagerMessage>(message)) {
    case TestManagerMessage::Setup: {
      const std::string level_definitions = PopString();
      const std::string state = PopString();
      const std::string item_resource = PopString();
      PushBool(manager_->Setup(item_resource, state, level_definitions));
      if (IsDevelopmentMachine() && Shower()) {
        for (const std::string& note : manager_->StateNotes()) Shower()(*this, note);
      }
      break;
    }
    case TestManagerMessage::SelectItems: {
      const int32_t list = PopInt();
      const int32_t wanted = PopInt();
      std::vector<std::string> lines;
      manager_->SelectItems(wanted, lines);
      StringListAt(Manager(), list).SetTexts(lines);
      PushBool(true);
      break;
    }
    case TestManagerMessage::RecordAnswer: {
      const bool correct = PopInt() != 0;
      manager_->RecordAnswer(PopString(), correct);
      PushBool(true);
      break;
    }
    case TestManagerMessage::State: PushString(manager_->State()); break;
    case TestManagerMessage::CountAtLevel: PushInt(manager_->CountAtLevel(PopInt())); break;
    case TestManagerMessage::LastWasNew: PushBool(manager_->LastWasNew()); break;
    case TestManagerMessage::LastLevel: PushInt(manager_->LastLevel()); break;
    case TestManagerMessage::ErrorText: PushString(manager_->ErrorText()); break;
    case TestManagerMessage::StateKey: {
      const std::string suffix = PopString();
      const std::string item_resource = PopString();
      PushString(manager_->StateKey(item_resource, suffix));
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
