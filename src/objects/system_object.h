#pragma once
// TVkSystemObject (class 1): the bytecode's door to everything that is not a
// particular on-stage control: scene changes with their transition, the
// stage's colour and picture, keys, deferred calls, creation of every other
// kind of object, the current user's settings, boxes, resources and the text
// and number utilities.
//
// The course creates exactly one and keeps it for the whole run; while it
// lives it is the current system object (Current()), through which the main
// window routes key releases and the stage view its two posted messages.

#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "bridge/messages.h"
#include "bridge/script_object.h"

namespace vork {

class TBackground;
class TFuseTransition;
struct TVkDialog;
class TVkSpriteGroupMessages;
class TVkUser;

class TVkSystemObject : public TVkScriptObject {
 public:
  TVkSystemObject();
  ~TVkSystemObject() override;

  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  // The scene change to routine (0 ends the course); answers its duration in
  // milliseconds.
  uint32_t TransitionTo(int32_t routine);
  // Pushes 0 and runs the routine (a deferred call).
  void CallNotifyHandler(int32_t routine);
  // Runs the key routine for a released key (a Windows virtual-key code and
  // the ShiftWord bits).
  void KeyReleased(int virtual_key, int32_t shift);

  int32_t CurrentScene() const { return current_scene_; }
  int32_t PreviousScene() const { return previous_scene_; }
  TVkUser& User() { return *user_; }

  // The system object alive now, or null.
  static TVkSystemObject* Current();

 private:
  TBackground* Stage() const;
  void RunWithArgument(int32_t routine, int32_t argument);
  void NewObject(vork::ClassIndex class_index);  // vork::, not the member ClassIndex()
  // The groups of rows of the message table: the user's settings, the text
  // and number utilities, and the messages that read or make string lists.
  void HandleSetting(SystemMessage message);
  void HandleTextUtility(SystemMessage message);
  void HandleListUtility(SystemMessage message);
  void PushDiagnostics(int32_t kind);
  void OpenUser(const std::string& name);
  void Random(int32_t upper, int32_t lower);
  void InstallMissingPart();
  void SetZentorWindowPositions();
  void PictureDialog(TVkDialog& dialog);
  void FullPictureDialog();

  // The sprite-group and slide messages with their fields (last match, snap
  // arguments and slots, the slides and their timers).
  std::unique_ptr<TVkSpriteGroupMessages> sprite_groups_;
  int32_t current_scene_ = 0;
  int32_t previous_scene_ = 0;
  std::unique_ptr<TFuseTransition> transition_;
  bool fuse_next_ = false;
  std::unique_ptr<TVkUser> user_;
  int32_t key_handler_ = 0;
  int32_t function_key_handler_ = 0;
  uint32_t last_transition_time_ = 0;
};

}  // namespace vork
