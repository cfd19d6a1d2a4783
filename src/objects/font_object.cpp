#include "objects/font_object.h"

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "platform/errors.h"
#include "platform/qt/font.h"

namespace vork {

TVkFont& TVkFontObject::Target() const {
  if (font_ == nullptr) {
    throw EVkError("Font object " + HandleText(Handle()) +
                   " has no font: font objects come from the objects whose font they edit");
  }
  return *font_;
}

void TVkFontObject::HandleMessage(int32_t message) {
  switch (static_cast<FontMessage>(message)) {
    case FontMessage::SetColor: {
      const int32_t color = PopInt();
      Target().SetColor(color);
      break;
    }
    case FontMessage::Color: PushInt(Target().Color()); break;
    case FontMessage::SetName: {
      const std::string name = PopString();
      Target().SetName(name);
      break;
    }
    case FontMessage::Name: PushString(Target().Name()); break;
    case FontMessage::SetSize: {
      const int32_t points = PopInt();
      Target().SetSize(points);
      break;
    }
    case FontMessage::Size: PushInt(Target().Size()); break;
    case FontMessage::SetStyle: {
      const int32_t bits = PopInt();
      Target().SetStyle(bits);
      break;
    }
    case FontMessage::Style: PushInt(Target().Style()); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

int32_t CreateFontObject(TVkObjectManager& manager, TVkFont& font) {
  const int32_t handle = manager.CreateObject(14);
  auto* font_object = dynamic_cast<TVkFontObject*>(manager.Find(handle));
  if (font_object == nullptr) {
    manager.SendMsg(handle, CommonMessage::Destroy);
    throw EVkError("class 14 is not the font object class");
  }
  font_object->SetAutoRelease(false);
  font_object->SetFont(&font);
  return handle;
}

}  // namespace vork
