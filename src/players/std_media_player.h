#pragma once
// TVkStdMediaPlayer: the standard player. Its commands complete before they
// return, and a command that fails raises an error naming the medium (so a
// course's message fails with it). The picture is stretched to the window.

#include "players/custom_media_player.h"

namespace vork {

class TVkStdMediaPlayer : public TVkCustomMediaPlayer {
 public:
  // 160 x 120, black.
  explicit TVkStdMediaPlayer(QWidget* parent = nullptr);

  void Open() override;
  void Play() override;

  // Shows the medium's first picture without a notification.
  void ShowFirstFrame();

 protected:
  void MoveTo(int32_t ms) override;

 private:
  void RequireOpen(const char* command) const;
};

}  // namespace vork
