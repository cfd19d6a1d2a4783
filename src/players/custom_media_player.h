#pragma once
// TVkCustomMediaPlayer: the player window on the stage that the course's
// media player objects drive, with what the standard and the browser player
// share: a MediaEngine as the inner component, the notify event, and the
// video picture painted into the window. Every change of state is announced
// through OnNotify with one of the codes below, in a fixed order.
//
// Re-entrance: OnNotify runs course code, which may close, reopen or free
// the player (freeing goes through deleteLater); every operation checks
// that the player is still there after each notification it fires.

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "players/media_engine.h"

namespace vork {

class TVkCustomMediaPlayer;

// sender, code
using TVkMediaNotifyEvent = std::function<void(TVkCustomMediaPlayer*, int)>;

enum TVkMediaNotify : int {
  kNotifyBeforeOpen = 0,
  kNotifyOpened = 1,
  kNotifyBeforePlay = 2,
  kNotifyPlaying = 3,
  kNotifyStopped = 4,
  kNotifyPlayedToEnd = 5,  // after kNotifyStopped
  kNotifyBeforeSeek = 6,
  kNotifySought = 7,
  kNotifyBufferingStarted = 8,
  kNotifyBufferingEnded = 9,
  kNotifyClosed = 10,  // also: opening failed, for the browser player
  kNotifyClicked = 11,
};

class TVkCustomMediaPlayer : public QWidget {
 public:
  enum State : int32_t { kClosed = 0, kOpen = 1, kPlaying = 2 };

  ~TVkCustomMediaPlayer() override;

  virtual std::string GetFileName() const { return file_name_; }
  virtual TVkMediaNotifyEvent GetOnNotify() const { return on_notify_; }
  virtual int32_t GetPosition() { return engine_->Position(); }
  virtual void SetFileName(std::string name) { file_name_ = std::move(name); }
  virtual void SetOnNotify(TVkMediaNotifyEvent handler) { on_notify_ = std::move(handler); }
  virtual void Seek(int32_t ms);
  virtual void Close();
  virtual int32_t GetLength() { return engine_->Length(); }
  virtual void Open() = 0;
  virtual void Play();
  virtual int32_t GetState() const { return !opened_ ? kClosed : playing_ ? kPlaying : kOpen; }
  virtual void Stop();

  // The file name with ".htm" for its extension when the course has such a
  // resource and a medium is open; "" otherwise.
  std::string HtmlName() const;

  MediaEngine& Engine() { return *engine_; }

 protected:
  TVkCustomMediaPlayer(QWidget* parent, bool keep_aspect);

  // Runs OnNotify; false when the player was freed meanwhile.
  bool Fire(int code);
  // Closes a medium that is open (stopping it first) before another opens.
  bool CloseBeforeOpening();
  // The seek itself, between the notifications.
  virtual void MoveTo(int32_t ms) { engine_->SeekTo(ms); }
  // The engine has news (end of the medium, failure, buffering).
  virtual void EngineChanged();
  // Playback ended at the end of the medium (completed) or broke off.
  void PlaybackEnded(bool completed);

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

  std::unique_ptr<MediaEngine> engine_;
  TVkMediaNotifyEvent on_notify_;
  std::string file_name_;
  bool opened_ = false;
  bool playing_ = false;

 private:
  bool pressed_ = false;
};

}  // namespace vork
