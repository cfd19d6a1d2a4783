#include "media/players/browser_media_player.h"

#include "media/players/media_source.h"

namespace vork {

TVkIEMediaPlayer::TVkIEMediaPlayer(QWidget* parent) : TVkCustomMediaPlayer(parent, true) {}

void TVkIEMediaPlayer::Open() {
  if (!CloseBeforeOpening()) return;
  if (!Fire(kNotifyBeforeOpen)) return;
  if (!engine_->Load(LocateMedia(file_name_)).empty()) {
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
