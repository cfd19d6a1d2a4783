#include "bridge/script_object.h"

#include <algorithm>

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "bridge/string_object.h"
#include "platform/cp1252.h"
#include "vm/processor.h"

namespace vork {

void TVkScriptObject::HandleMessage(int32_t message) {
  switch (static_cast<CommonMessage>(message)) {
    case CommonMessage::Property: {
      const std::string name = PopString();
      PushString(Property(name));
      break;
    }
    case CommonMessage::SetProperty: {
      const std::string value = PopString();
      const std::string name = PopString();
      SetProperty(name, value);
      break;
    }
    default:
      TVkObject::HandleMessage(message);
  }
}

void TVkScriptObject::ControlLost(std::string_view what) const {
  throw EVkError(std::string(what) + " object " + HandleText(Handle()) + " has lost its control");
}

std::string TVkScriptObject::PopString() {
  const int32_t handle = PopInt();
  std::string text;
  if (const TVkStringObject* string_object = Manager().FindString(handle)) {
    text = string_object->Text();
  } else if (const TVkObject* object = Manager().Find(handle)) {
    throw EVkError("string argument " + HandleText(handle) + " is an object of class " +
                   std::to_string(object->ClassIndex()) + ", not a string");
  }
  Manager().SendMsg(handle, CommonMessage::Destroy);
  return text;
}

void TVkScriptObject::PushString(std::string_view text) {
  const int32_t handle = Manager().CreateObject(TVkObjectManager::kStringClass);
  TVkStringObject* string_object = Manager().FindString(handle);
  if (string_object == nullptr) throw EVkError("PushString: class 0 is not the string class");
  string_object->SetText(std::string(text));
  PushInt(handle);
}

void TVkScriptObject::RunRoutine(int32_t entry) { Processor().Run(entry); }

uint8_t* TVkScriptObject::CodePointer(int32_t offset) { return Processor().CodePointer(offset); }

TVkProcessor& TVkScriptObject::Processor() const { return Manager().Processor(); }
TVkView* TVkScriptObject::View() const { return Manager().View(); }

std::string TVkScriptObject::Property(std::string_view name) const {
  for (const auto& [key, value] : properties_) {
    if (EqualsIgnoreCase(key, name)) return value;
  }
  return {};
}

void TVkScriptObject::SetProperty(std::string_view name, std::string_view value) {
  const auto found = std::find_if(properties_.begin(), properties_.end(),
                                  [&](const auto& entry) { return EqualsIgnoreCase(entry.first, name); });
  if (found == properties_.end()) {
    if (!value.empty()) properties_.emplace_back(name, value);
  } else if (value.empty()) {
    properties_.erase(found);
  } else {
    found->second = value;
  }
}

}  // namespace vork
