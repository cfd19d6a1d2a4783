#include "objects/text_object.h"

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "objects/font_object.h"
#include "platform/errors.h"
#include "scene/draw_text.h"

namespace vork {

namespace {

constexpr int32_t kTextClass = 17;
constexpr int32_t kFontClass = 14;

bool FlagOf(int32_t word) { return (word & 0xFF) != 0; }

TVkFontObject* FontObjectAt(TVkObjectManager& manager, int32_t handle) {
  return dynamic_cast<TVkFontObject*>(manager.Find(handle));
}

}  // namespace

int32_t AlignmentFromWord(int32_t word) {
  switch (word) {
    case 1: return TCustomDrawText::kAlignCenter;
    case 2: return TCustomDrawText::kAlignRight;
    default: return TCustomDrawText::kAlignLeft;
  }
}

int32_t WordFromAlignment(int32_t alignment) {
  switch (alignment) {
    case TCustomDrawText::kAlignCenter: return 1;
    case TCustomDrawText::kAlignRight: return 2;
    default: return 0;
  }
}

void TVkTextObject::Init() {
  font_object_ = Manager().CreateObject(kFontClass);
  TVkFontObject* font = FontObjectAt(Manager(), font_object_);
  if (font == nullptr) {
    Manager().SendMsg(font_object_, CommonMessage::Destroy);
    font_object_ = 0;
    throw EVkError("class 14 is not the font object class");
  }
  font->SetAutoRelease(false);
}

void TVkTextObject::Release() {
  // The manager may already have destroyed it (at shutdown every object goes).
  if (Manager().IsLive(font_object_)) Manager().SendMsg(font_object_, CommonMessage::Destroy);
  font_object_ = 0;
  text_ = nullptr;
}

void TVkTextObject::Bind(TCustomDrawText* text) {
  text_ = text;
  if (TVkFontObject* font = FontObjectAt(Manager(), font_object_)) font->SetFont(text ? &text->Font() : nullptr);
}

TCustomDrawText& TVkTextObject::Target() const {
  if (text_ == nullptr) {
    throw EVkError("Text object " + HandleText(Handle()) +
                   " has no caption: text objects come from sprites (message 37 of a sprite)");
  }
  return *text_;
}

void TVkTextObject::HandleMessage(int32_t message) {
  switch (static_cast<TextMessage>(message)) {
    case TextMessage::Text: PushString(Target().Text()); break;
    case TextMessage::SetText: {
      const std::string text = PopString();
      Target().SetText(text);
      break;
    }
    case TextMessage::BackColor: PushInt(Target().BackColor()); break;
    case TextMessage::SetBackColor: {
      const int32_t color = PopInt();
      Target().SetBackColor(color);
      break;
    }
    case TextMessage::Opaque: PushBool(Target().Opaque()); break;
    case TextMessage::SetOpaque: {
      const int32_t flag = PopInt();
      Target().SetOpaque(FlagOf(flag));
      break;
    }
    case TextMessage::Font: PushInt(font_object_); break;
    case TextMessage::XOffset: PushInt(Target().XOffset()); break;
    case TextMessage::SetXOffset: {
      const int32_t offset = PopInt();
      Target().SetXOffset(offset);
      break;
    }
    case TextMessage::HAlign: PushInt(WordFromAlignment(Target().HAlign())); break;
    case TextMessage::SetHAlign: {
      const int32_t word = PopInt();
      Target().SetHAlign(AlignmentFromWord(word));
      break;
    }
    case TextMessage::ShadowColor: PushInt(Target().ShadowColor()); break;
    case TextMessage::SetShadowColor: {
      const int32_t color = PopInt();
      Target().SetShadowColor(color);
      break;
    }
    case TextMessage::ShadowX: PushInt(Target().ShadowX()); break;
    case TextMessage::SetShadowX: {
      const int32_t x = PopInt();
      Target().SetShadowX(x);
      break;
    }
    case TextMessage::ShadowY: PushInt(Target().ShadowY()); break;
    case TextMessage::SetShadowY: {
      const int32_t y = PopInt();
      Target().SetShadowY(y);
      break;
    }
    case TextMessage::YOffset: PushInt(Target().YOffset()); break;
    case TextMessage::SetYOffset: {
      const int32_t offset = PopInt();
      Target().SetYOffset(offset);
      break;
    }
    case TextMessage::VAlign: PushInt(WordFromAlignment(Target().VAlign())); break;
    case TextMessage::SetVAlign: {
      const int32_t word = PopInt();
      Target().SetVAlign(AlignmentFromWord(word));
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

int32_t CreateTextObject(TVkObjectManager& manager, TCustomDrawText& text) {
  const int32_t handle = manager.CreateObject(kTextClass);
  auto* text_object = dynamic_cast<TVkTextObject*>(manager.Find(handle));
  if (text_object == nullptr) {
    manager.SendMsg(handle, CommonMessage::Destroy);
    throw EVkError("class 17 is not the text object class");
  }
  text_object->SetAutoRelease(false);
  text_object->Bind(&text);
  return handle;
}

}  // namespace vork
