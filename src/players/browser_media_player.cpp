#include "players/browser_media_player.h"

#include "players/media_source.h"

namespace vork {

TVkIEMediaPlayer::TVkIEMediaPlayer(QWidget* parent) : TVkCustomMediaPlayer(parent, true) {}

void TVkIEMediaPlayer::Open() {
  if (!CloseBeforeOpening()) return;
  if (!Fire(kNotifyBeforeOpen)) return;
  const MediaSource source = IsMediaAddress(file_name_) ? MediaSource{file_name_, ""} : LocateMedia(file_name_);
  if (!engine_->Load(source).empty()) {
    Fire(kNotifyClosed);
    return;
  }
  opened_ = true;
  Fire(kNotifyOpened);
}

void TVkIEMediaPlayer::EngineChanged() {
  if (engine_->Buffering() != buffering_) {
    buffering_ = !buffering_;
    if (!Fire(buffering_ ? kNotifyBufferingStarted : kNotifyBufferingEnded)) return;
  }
  TVkCustomMediaPlayer::EngineChanged();
}

}  // namespace vork
