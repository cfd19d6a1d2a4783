#include "players/std_media_player.h"

#include <QCoreApplication>

#include "players/media_source.h"
#include "platform/errors.h"

namespace vork {

TVkStdMediaPlayer::TVkStdMediaPlayer(QWidget* parent) : TVkCustomMediaPlayer(parent, false) {}

void TVkStdMediaPlayer::RequireOpen(const char* command) const {
  if (!opened_) throw EVkError(std::string("Media player: cannot ") + command + " \"" + file_name_ + "\": no medium is open.");
}

void TVkStdMediaPlayer::Open() {
  if (!CloseBeforeOpening()) return;
  if (!Fire(kNotifyBeforeOpen)) return;
  const std::string failure = engine_->Load(LocateMedia(file_name_));
  if (!failure.empty()) throw EVkError("Media file \"" + file_name_ + "\" cannot be opened: " + failure + ".");
  opened_ = true;
  if (!Fire(kNotifyOpened)) return;
  QCoreApplication::processEvents();
}

void TVkStdMediaPlayer::Play() {
  if (!playing_) RequireOpen("play");
  TVkCustomMediaPlayer::Play();
}

void TVkStdMediaPlayer::MoveTo(int32_t ms) {
  RequireOpen("seek in");
  engine_->SeekTo(ms);
}

void TVkStdMediaPlayer::ShowFirstFrame() {
  RequireOpen("show the first frame of");
  engine_->SeekTo(0);
  QCoreApplication::processEvents();
}

}  // namespace vork
