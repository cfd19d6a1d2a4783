#include "objects/font_object.h"

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
  switch (message) {
    case 0: {
      const int32_t color = PopInt();
      Target().SetColor(color);
      break;
    }
    case 1: PushInt(Target().Color()); break;
    case 2: {
      const std::string name = PopString();
      Target().SetName(name);
      break;
    }
    case 3: PushString(Target().Name()); break;
    case 4: {
      const int32_t points = PopInt();
      Target().SetSize(points);
      break;
    }
    case 5: PushInt(Target().Size()); break;
    case 6: {
      const int32_t bits = PopInt();
      Target().SetStyle(bits);
      break;
    }
    case 7: PushInt(Target().Style()); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

int32_t CreateFontObject(TVkObjectManager& manager, TVkFont& font) {
  const int32_t handle = manager.CreateObject(14);
  auto* font_object = dynamic_cast<TVkFontObject*>(manager.Find(handle));
  if (font_object == nullptr) {
    manager.SendMsg(handle, -1);
    throw EVkError("class 14 is not the font object class");
  }
  font_object->SetAutoRelease(false);
  font_object->SetFont(&font);
  return handle;
}

}  // namespace vork
