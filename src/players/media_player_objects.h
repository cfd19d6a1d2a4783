#pragma once
// The media player objects the course creates: TVkStdMediaPlayerObject
// (class 5) and TVkIEMediaPlayerObject (class 7) put a player window on the
// stage, with a director that can tie it to a button bar (class 6), and
// pass every notification on to the course's notify routine (pushing the
// object's handle and the code). TVkMediaPlayerObject (class 4) is
// withdrawn: creating one ends the program.

#include <QPointer>
#include <cstdint>
#include <memory>

#include "bridge/script_object.h"
#include "players/browser_media_player.h"
#include "players/media_director.h"
#include "players/std_media_player.h"
#include "media/stoppable_media.h"

namespace vork {

// What both player objects share; the player class makes the difference.
class StagePlayerObject : public TVkScriptObject, public StoppableMedia {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;
  // Stops the player (with its notification, as any stop).
  void StopMedia() override;

  TVkCustomMediaPlayer* Player() const { return player_; }
  TVkMediaDirector* Director() const { return director_.get(); }
  int32_t OnNotify() const { return on_notify_; }

 protected:
  virtual TVkCustomMediaPlayer* MakePlayer(QWidget* parent) = 0;
  TVkCustomMediaPlayer& RequirePlayer() const;

 private:
  void Notified(int code);
  void SetControls(int32_t buttons_handle);

  std::unique_ptr<TVkMediaDirector> director_;
  QPointer<TVkCustomMediaPlayer> player_;
  int32_t on_notify_ = 0;
};

class TVkStdMediaPlayerObject : public StagePlayerObject {
 public:
  void HandleMessage(int32_t message) override;

 protected:
  TVkCustomMediaPlayer* MakePlayer(QWidget* parent) override { return new TVkStdMediaPlayer(parent); }
};

class TVkIEMediaPlayerObject : public StagePlayerObject {
 protected:
  TVkCustomMediaPlayer* MakePlayer(QWidget* parent) override { return new TVkIEMediaPlayer(parent); }
};

class TVkMediaPlayerObject : public TVkScriptObject {
 public:
  // Ends the program at once with status 0 and no message.
  void Init() override;
};

}  // namespace vork
