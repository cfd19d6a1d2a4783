#pragma once
// TVkSpriteObject (class 3): the bytecode's handle on one frame sprite of
// the stage, with its caption (edited through a text object) and the events
// a learner's mouse raises on it: press (with the click sound), release or
// click (or a scene change on click), and the three steps of a drag.
//
// Every event runs its routine at an event boundary with the object's handle
// first. A routine may destroy this very object (and so its sprite): each
// event checks the handle afterwards before going on.

#include <QPointer>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/messages.h"
#include "bridge/script_object.h"
#include "scene/mouse_input.h"

namespace vork {

class TFrameSprite;

class TVkSpriteObject : public TVkScriptObject {
 public:
  static constexpr int32_t kClassIndex = ToWord(ClassIndex::Sprite);

  TVkSpriteObject();
  ~TVkSpriteObject() override;

  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  // Null once released (or when the stage freed it first, at shutdown).
  TFrameSprite* Sprite() const;
  int32_t CaptionObject() const { return caption_object_; }
  // A text N matches when it is empty or "|" + tags + "|" contains "|" + N + "|".
  bool MatchesTags(std::string_view names) const;

 private:
  TFrameSprite& RequireSprite() const;
  void Pressed(TMouseButton button, TShiftState shift, int x, int y);
  void Released(TMouseButton button, TShiftState shift, int x, int y);
  void Clicked();
  void LoadPicture(const std::string& name);
  void LoadMaskedPicture(const std::string& name, const std::string& mask_type);
  int32_t FindSameCenter(std::string_view names) const;

  int32_t user_value_ = 0;
  int32_t on_begin_move_ = 0;
  int32_t on_end_move_ = 0;
  int32_t on_move_ = 0;
  int32_t on_click_ = 0;
  QPointer<TFrameSprite> sprite_;
  std::string click_sound_;
  int32_t click_scene_ = 0;
  int32_t caption_object_ = 0;
  int32_t on_mouse_down_ = 0;
  int32_t on_mouse_up_ = 0;
  std::string data_;
};

// The live sprite objects, in the object manager's (creation) order.
std::vector<TVkSpriteObject*> SpriteObjects(const TVkObjectManager& manager);
// The sprite object handle names; raises EVkError naming the handle when it
// names no live sprite object (or one whose sprite is gone).
TVkSpriteObject& SpriteObjectAt(TVkObjectManager& manager, int32_t handle);

}  // namespace vork
