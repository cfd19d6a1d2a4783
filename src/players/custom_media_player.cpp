#include "players/custom_media_player.h"

#include <QMouseEvent>
#include <QPainter>

#include "media/audio_player.h"
#include "text/text_edits.h"
#include "resources/res_manager.h"

namespace vork {

TVkCustomMediaPlayer::TVkCustomMediaPlayer(QWidget* parent, bool keep_aspect)
    : QWidget(parent), engine_(std::make_unique<MediaEngine>(keep_aspect)) {
  setGeometry(0, 0, 160, 120);
  setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers the window
  engine_->SetFrameSize(size());
  engine_->OnFrame = [this] { update(); };
  engine_->OnChange = [this] { EngineChanged(); };
}

TVkCustomMediaPlayer::~TVkCustomMediaPlayer() {
  engine_->OnFrame = nullptr;
  engine_->OnChange = nullptr;
}

bool TVkCustomMediaPlayer::Fire(int code) {
  if (!on_notify_) return true;
  QPointer<TVkCustomMediaPlayer> self(this);
  const TVkMediaNotifyEvent handler = on_notify_;  // course code may replace it
  handler(this, code);
  return !self.isNull();
}

void TVkCustomMediaPlayer::Play() {
  TKsAudioPlayer::FilePlayer().Stop();
  if (playing_) return;
  if (!Fire(kNotifyBeforePlay)) return;
  // A medium at its end starts again from its beginning.
  if (opened_ && engine_->Position() >= engine_->Length()) engine_->SeekTo(0);
  engine_->SetPaused(false);
  playing_ = true;
  Fire(kNotifyPlaying);
}

void TVkCustomMediaPlayer::Stop() {
  if (opened_) engine_->SetPaused(true);
  playing_ = false;
  Fire(kNotifyStopped);
}

void TVkCustomMediaPlayer::Seek(int32_t ms) {
  QPointer<TVkCustomMediaPlayer> self(this);
  if (playing_) {
    Stop();
    if (!self) return;
  }
  if (!Fire(kNotifyBeforeSeek)) return;
  MoveTo(ms);
  Fire(kNotifySought);
}

void TVkCustomMediaPlayer::Close() {
  QPointer<TVkCustomMediaPlayer> self(this);
  if (playing_) {
    Stop();
    if (!self) return;
  }
  engine_->Unload();
  opened_ = false;
  Fire(kNotifyClosed);
}

bool TVkCustomMediaPlayer::CloseBeforeOpening() {
  if (!playing_ && !opened_) return true;
  QPointer<TVkCustomMediaPlayer> self(this);
  Close();
  return !self.isNull();
}

void TVkCustomMediaPlayer::EngineChanged() {
  if (!playing_) return;
  if (engine_->AtEnd()) PlaybackEnded(true);
  else if (engine_->PlaybackFailed()) PlaybackEnded(false);
}

void TVkCustomMediaPlayer::PlaybackEnded(bool completed) {
  playing_ = false;
  if (!Fire(kNotifyStopped)) return;
  if (completed) Fire(kNotifyPlayedToEnd);
}

std::string TVkCustomMediaPlayer::HtmlName() const {
  if (!opened_) return {};
  std::string name = ChangeExtension(GetFileName(), ".htm");
  return ResManager().ResourceExists(name) ? name : std::string();
}

void TVkCustomMediaPlayer::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QImage& frame = engine_->Frame();
  painter.drawImage(QPoint(0, 0), frame);
  // The picture follows the window's size a frame late.
  if (frame.width() < width()) painter.fillRect(frame.width(), 0, width() - frame.width(), height(), Qt::black);
  if (frame.height() < height()) painter.fillRect(0, frame.height(), width(), height() - frame.height(), Qt::black);
}

void TVkCustomMediaPlayer::resizeEvent(QResizeEvent*) { engine_->SetFrameSize(size()); }

void TVkCustomMediaPlayer::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
}

void TVkCustomMediaPlayer::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click) Fire(kNotifyClicked);
}

}  // namespace vork
