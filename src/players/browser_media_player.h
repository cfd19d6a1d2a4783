#pragma once
// TVkIEMediaPlayer: the browser-style player. It never raises: a medium
// that cannot be opened is reported with the code for closed, and the
// player stays closed. Besides course media it streams web addresses,
// reporting when playback waits for data, and it keeps the picture's
// proportions inside the window.

#include "players/custom_media_player.h"

namespace vork {

class TVkIEMediaPlayer : public TVkCustomMediaPlayer {
 public:
  // 160 x 120, black.
  explicit TVkIEMediaPlayer(QWidget* parent = nullptr);

  void Open() override;

 protected:
  void EngineChanged() override;

 private:
  bool buffering_ = false;
};

}  // namespace vork
