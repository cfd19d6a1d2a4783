#pragma once
// TVkMediaDirector: ties one player to one button bar. The bar's clicks
// drive the player, and the player's notifications keep the bar's enabled
// buttons in step before they go on to whoever listened to the player
// before the director (the course's notify routine). Owns neither.

#include <QPointer>
#include <bitset>

#include "players/custom_media_player.h"
#include "players/media_controls.h"

namespace vork {

class TVkMediaDirector {
 public:
  static constexpr int32_t kSkipMs = 2000;  // back and forward buttons

  TVkMediaDirector() = default;
  // Gives the player back its own notify event and detaches the bar.
  ~TVkMediaDirector();
  TVkMediaDirector(const TVkMediaDirector&) = delete;
  TVkMediaDirector& operator=(const TVkMediaDirector&) = delete;

  TVkCustomMediaPlayer* Player() const { return player_; }
  void SetPlayer(TVkCustomMediaPlayer* player);
  TVkMediaControls* Controls() const { return controls_; }
  // The previous bar is detached: no click handler, every button disabled.
  void SetControls(TVkMediaControls* controls);

  void UpdateButtons();
  // The buttons the player's state allows: none without a player or
  // medium; while playing all but play; stopped, play and extra, and once
  // past the start also start and back, and forward before the end.
  std::bitset<TVkMediaControls::kButtons> EnabledButtons() const;

  void ButtonClicked(int button);

 private:
  void PlayerNotified(TVkCustomMediaPlayer* sender, int code);
  void DetachControls();

  QPointer<TVkMediaControls> controls_;
  QPointer<TVkCustomMediaPlayer> player_;
  TVkMediaNotifyEvent saved_notify_;
};

}  // namespace vork
