#include "objects/sprite_object.h"

#include <QImage>

#include "bridge/event_boundary.h"
#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "media/play_audio.h"
#include "objects/event_routine.h"
#include "objects/mouse_event_routine.h"
#include "objects/text_object.h"
#include "platform/errors.h"
#include "scene/background.h"
#include "scene/color_word.h"
#include "scene/frame_sprite.h"
#include "scene/sprite_groups.h"
#include "scene/view.h"
#include "resources/qt_picture.h"
#include "resources/res_manager.h"
#include "vm/processor.h"

namespace vork {

namespace {

constexpr std::string_view kColorMask = "mtColor";
constexpr std::string_view kBitmapMask = "mtBitmap";

bool FlagOf(int32_t word) { return (word & 0xFF) != 0; }

}  // namespace

TVkSpriteObject::TVkSpriteObject() = default;

TVkSpriteObject::~TVkSpriteObject() {
  // Only when Release never ran (a failed Init); the stage may have freed it.
  delete sprite_.data();
}

void TVkSpriteObject::Init() {
  auto* sprite = new TFrameSprite;
  sprite_ = sprite;
  if (TVkView* view = View()) sprite->SetBackground(view->Background());
  sprite->OnMouseClick = [this](TSprite*) { Clicked(); };
  sprite->OnMouseDown = [this](TSprite*, TMouseButton button, TShiftState shift, int x, int y) {
    Pressed(button, shift, x, y);
  };
  sprite->OnMouseUp = [this](TSprite*, TMouseButton button, TShiftState shift, int x, int y) {
    Released(button, shift, x, y);
  };
  sprite->OnBeginMove = [this](TSprite*) { RunObjectEvent(*this, on_begin_move_); };
  sprite->OnEndMove = [this](TSprite*) { RunObjectEvent(*this, on_end_move_); };
  // The step itself is decided by the sprite from CanMove as the step
  // began; the routine only runs before it.
  sprite->OnMove = [this](TSprite*, QPoint, QPoint, bool&) { RunObjectEvent(*this, on_move_); };
  sprite->Caption().SetVAlign(TCustomDrawText::kAlignMiddle);
  caption_object_ = CreateTextObject(Manager(), sprite->Caption());
}

void TVkSpriteObject::Release() {
  // The text object edits the caption: it goes first.
  if (Manager().IsLive(caption_object_)) Manager().SendMsg(caption_object_, CommonMessage::Destroy);
  caption_object_ = 0;
  // Leaving the stage repaints it; a sprite already freed with the stage is
  // not freed again.
  delete sprite_.data();
  sprite_ = nullptr;
}

TFrameSprite* TVkSpriteObject::Sprite() const { return sprite_.data(); }

TFrameSprite& TVkSpriteObject::RequireSprite() const {
  return RequireControl(sprite_, "Sprite");
}

bool TVkSpriteObject::MatchesTags(std::string_view names) const { return TagsMatch(GetTags(), names); }

void TVkSpriteObject::Pressed(TMouseButton button, TShiftState shift, int x, int y) {
  const int32_t handle = Handle();
  TVkObjectManager& manager = Manager();
  if (!click_sound_.empty()) {
    // A synchronous sound processes events, which may destroy this object.
    PlayAudio(*this, click_sound_);
    if (!manager.IsLive(handle)) return;
  }
  RunMouseEvent(*this, on_mouse_down_, button, shift, x, y);
}

void TVkSpriteObject::Released(TMouseButton button, TShiftState shift, int x, int y) {
  if (on_mouse_up_ != 0) {
    RunMouseEvent(*this, on_mouse_up_, button, shift, x, y);
    return;
  }
  const TFrameSprite& sprite = RequireSprite();
  if (x >= 0 && x < sprite.Width() && y >= 0 && y < sprite.Height()) Clicked();
}

void TVkSpriteObject::Clicked() {
  if (on_click_ != 0) {
    RunObjectEvent(*this, on_click_);
    return;
  }
  if (click_scene_ == 0) return;
  // Message 0 of the system object, the oldest object, posts the scene
  // change: it happens once the running routine has returned.
  TVkObjectManager& manager = Manager();
  TVkProcessor& processor = Processor();
  const int32_t scene = click_scene_;
  RunAtEventBoundary(processor, [&] {
    processor.Stack().Push(scene);
    manager.SendMsg(manager.ObjectAt(0).Handle(), 0);
  });
}

void TVkSpriteObject::LoadPicture(const std::string& name) {
  TFrameSprite& sprite = RequireSprite();
  const QImage picture = LoadBitmapImage(ResManager(), name);
  sprite.SetPictureName(name);
  sprite.SetBitmap(picture);
}

void TVkSpriteObject::LoadMaskedPicture(const std::string& name, const std::string& mask_type) {
  LoadPicture(name);
  TFrameSprite& sprite = RequireSprite();
  UpdateBatch batch(sprite.Background());
  if (mask_type == kColorMask) {
    sprite.MakeMaskFromColor();
    sprite.SetMasked(true);
  } else if (mask_type == kBitmapMask) {
    sprite.SetMasked(true);
  }
}

int32_t TVkSpriteObject::FindSameCenter(std::string_view names) const {
  const QPoint center = RequireSprite().Center();
  for (TVkSpriteObject* other : SpriteObjects(Manager())) {
    if (other == this || !other->Sprite()) continue;
    if (other->Sprite()->Center() == center && other->MatchesTags(names)) return other->Handle();
  }
  return 0;
}

void TVkSpriteObject::HandleMessage(int32_t message) {
  switch (static_cast<SpriteMessage>(message)) {
    case SpriteMessage::SetLeft: {
      const int32_t x = PopInt();
      RequireSprite().SetLeft(x);
      break;
    }
    case SpriteMessage::Left: PushInt(RequireSprite().Left()); break;
    case SpriteMessage::SetTop: {
      const int32_t y = PopInt();
      RequireSprite().SetTop(y);
      break;
    }
    case SpriteMessage::Top: PushInt(RequireSprite().Top()); break;
    case SpriteMessage::SetVisible: {
      const int32_t flag = PopInt();
      RequireSprite().SetVisible(FlagOf(flag));
      break;
    }
    case SpriteMessage::Visible: PushBool(RequireSprite().Visible()); break;
    case SpriteMessage::SetFrame: {
      const int32_t frame = PopInt();
      RequireSprite().SetFrame(frame);
      break;
    }
    case SpriteMessage::Frame: PushInt(RequireSprite().Frame()); break;
    case SpriteMessage::SetFrameCount: {
      const int32_t count = PopInt();
      RequireSprite().SetFrameCount(count);
      break;
    }
    case SpriteMessage::FrameCount: PushInt(RequireSprite().FrameCount()); break;
    case SpriteMessage::LoadPicture: LoadPicture(PopString()); break;
    case SpriteMessage::SetOnClick: on_click_ = PopInt(); break;
    case SpriteMessage::OnClick: PushInt(on_click_); break;
    case SpriteMessage::SetBounds: {
      const Bounds b = PopBounds();
      RequireSprite().SetBounds(b.left, b.top, b.width, b.height);
      break;
    }
    case SpriteMessage::SetClickSound: click_sound_ = PopString(); break;
    case SpriteMessage::SetCanMove: {
      const int32_t flag = PopInt();
      RequireSprite().SetCanMove(FlagOf(flag));
      break;
    }
    case SpriteMessage::SetDragBounds: {
      const int32_t bottom = PopInt();
      const int32_t right = PopInt();
      const int32_t top = PopInt();
      const int32_t left = PopInt();
      RequireSprite().SetDragBounds(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
      break;
    }
    case SpriteMessage::SetOnEndMove: on_end_move_ = PopInt(); break;
    case SpriteMessage::SetTags: SetTags(PopString()); break;
    case SpriteMessage::Tags: PushString(GetTags()); break;
    case SpriteMessage::SetMasked: RequireSprite().SetMasked(true); break;
    case SpriteMessage::SetOnBeginMove: on_begin_move_ = PopInt(); break;
    case SpriteMessage::CenterX: PushInt(RequireSprite().Center().x()); break;
    case SpriteMessage::CenterY: PushInt(RequireSprite().Center().y()); break;
    case SpriteMessage::StartCenterX: PushInt(RequireSprite().StartCenter().x()); break;
    case SpriteMessage::StartCenterY: PushInt(RequireSprite().StartCenter().y()); break;
    case SpriteMessage::SetCaption: {
      const std::string text = PopString();
      RequireSprite().Caption().SetText(text);
      break;
    }
    case SpriteMessage::SetCaptionColor: {
      const int32_t color = PopInt();
      RequireSprite().Caption().Font().SetColor(color);
      break;
    }
    case SpriteMessage::CaptionWidth: PushInt(RequireSprite().Caption().TextWidth()); break;
    case SpriteMessage::Width: PushInt(RequireSprite().Width()); break;
    case SpriteMessage::Height: PushInt(RequireSprite().Height()); break;
    case SpriteMessage::SetOnMove: on_move_ = PopInt(); break;
    case SpriteMessage::SetEnabled: {
      const int32_t flag = PopInt();
      RequireSprite().SetEnabled(FlagOf(flag));
      break;
    }
    case SpriteMessage::SetClickScene: click_scene_ = PopInt(); break;
    case SpriteMessage::ClickScene: PushInt(click_scene_); break;
    case SpriteMessage::UserValue: PushInt(user_value_); break;
    case SpriteMessage::SetUserValue: user_value_ = PopInt(); break;
    case SpriteMessage::Caption: PushInt(caption_object_); break;
    case SpriteMessage::SetOnMouseUp: on_mouse_up_ = PopInt(); break;
    case SpriteMessage::SetPlainWidth: {
      const int32_t width = PopInt();
      RequireSprite().SetWidth(width);
      break;
    }
    case SpriteMessage::SetPlainHeight: {
      const int32_t height = PopInt();
      RequireSprite().SetHeight(height);
      break;
    }
    case SpriteMessage::SetData: data_ = PopString(); break;
    case SpriteMessage::Data: PushString(data_); break;
    case SpriteMessage::SetOnMouseDown: on_mouse_down_ = PopInt(); break;
    case SpriteMessage::CanMove: PushBool(RequireSprite().CanMove()); break;
    case SpriteMessage::BringToFront: RequireSprite().BringToFront(); break;
    case SpriteMessage::FindSameCenter: PushInt(FindSameCenter(PopString())); break;
    case SpriteMessage::SetFilled: {
      const int32_t flag = PopInt();
      RequireSprite().SetFilled(FlagOf(flag));
      break;
    }
    case SpriteMessage::SetFillColor: {
      const int32_t color = PopInt();
      RequireSprite().SetFillColor(color);
      break;
    }
    case SpriteMessage::MoveCenterTo: {
      const int32_t y = PopInt();
      const int32_t x = PopInt();
      RequireSprite().MoveCenterTo({x, y});
      break;
    }
    case SpriteMessage::PixelAt: {
      const int32_t y = PopInt();
      const int32_t x = PopInt();
      PushInt(RequireSprite().PixelAt(x, y));
      break;
    }
    case SpriteMessage::LoadMaskedPicture: {
      const std::string mask_type = PopString();
      const std::string name = PopString();
      LoadMaskedPicture(name, mask_type);
      break;
    }
    case SpriteMessage::SendToBack: RequireSprite().SendToBack(); break;
    case SpriteMessage::PictureName: PushString(RequireSprite().PictureName()); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

std::vector<TVkSpriteObject*> SpriteObjects(const TVkObjectManager& manager) {
  std::vector<TVkSpriteObject*> sprites;
  for (int position = 0; position < manager.Count(); ++position) {
    TVkObject& object = manager.ObjectAt(position);
    if (object.ClassIndex() != TVkSpriteObject::kClassIndex) continue;
    if (auto* sprite = dynamic_cast<TVkSpriteObject*>(&object)) sprites.push_back(sprite);
  }
  return sprites;
}

TVkSpriteObject& SpriteObjectAt(TVkObjectManager& manager, int32_t handle) {
  auto* sprite = dynamic_cast<TVkSpriteObject*>(manager.Find(handle));
  if (sprite == nullptr || sprite->Sprite() == nullptr) {
    throw EVkError("sprite argument " + HandleText(handle) + " is not a live sprite");
  }
  return *sprite;
}

}  // namespace vork
