#pragma once
// MediaEngine: one libmpv core that plays one medium at a time for a player
// on the stage. Video frames come through libmpv's software renderer into an
// image the player paints, so no GPU or window handle is needed (it works on
// the offscreen platform too); audio goes to the system's sound output.
//
// Loading and seeking wait for libmpv to finish (the players' commands are
// synchronous); everything else, such as reaching the end of the medium,
// arrives later through the Qt event loop and is announced by OnChange,
// never from inside a waiting command. The engine reports states rather
// than events, so a player asks what is true now (AtEnd, PlaybackFailed,
// Buffering) when OnChange runs.

#include <QImage>
#include <QObject>
#include <QSize>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "players/media_source.h"

struct mpv_handle;
struct mpv_render_context;
struct mpv_event;

namespace vork {

class MediaEngine : public QObject {
 public:
  // keep_aspect: letterbox the picture in the frame rather than stretch it.
  explicit MediaEngine(bool keep_aspect);
  ~MediaEngine() override;
  MediaEngine(const MediaEngine&) = delete;
  MediaEngine& operator=(const MediaEngine&) = delete;

  // Loads source paused at its start and waits until it is ready (with its
  // first frame drawn when it has a picture). Returns "" on success, else
  // why it failed ("not found", libmpv's reason); the engine is then empty.
  std::string Load(const MediaSource& source);
  // Empties the engine; the frame turns black.
  void Unload();
  bool Loaded() const { return loaded_; }

  void SetPaused(bool paused);
  // Moves to ms (clamped to the medium) and waits until the picture there is
  // drawn. Nothing happens when the engine is empty.
  void SeekTo(int32_t ms);

  // Milliseconds, truncated; 0 when empty. At the end of the medium the
  // position is the length; while paused, it is where the medium was
  // paused or sought to.
  int32_t Position() const;
  int32_t Length() const;
  bool AtEnd() const;
  bool Paused() const;
  // Playback broke off with an error after a successful load.
  bool PlaybackFailed() const { return playback_failed_; }
  // Waiting for data to arrive (a slow or remote source).
  bool Buffering() const { return buffering_; }

  // The output volume in percent, as libmpv has it: the learner's level
  // (0 while muted).
  double Volume() const;

  // The picture, at the size given to SetFrameSize; black without a medium.
  const QImage& Frame() const { return frame_; }
  void SetFrameSize(QSize size);

  // A new picture is in Frame().
  std::function<void()> OnFrame;
  // Something a player may want to react to has changed (end reached,
  // playback failed, buffering started or ended). Runs from the event loop.
  std::function<void()> OnChange;

 private:
  void Configure(bool keep_aspect);
  // Handles the events libmpv has queued; returns true when one of them
  // matters to OnChange.
  bool ReadEvents(double timeout);
  bool HandleEvent(const mpv_event& event);
  // Runs ReadEvents and draws frames until done() holds or the time is up.
  void WaitUntil(const std::function<bool()>& done, int timeout_ms);
  void DeliverEvents();
  void DrawFrame(bool force);
  void ClearFrame();
  double DoubleProperty(const char* name) const;
  void Command(const char* const* args);

  mpv_handle* mpv_ = nullptr;
  int volume_ticket_ = 0;
  mpv_render_context* render_ = nullptr;
  // Each is set by a libmpv thread and cleared by the one queued call it
  // posts, so that a burst of wake-ups costs one pass of the event loop.
  std::atomic<bool> events_posted_{false};
  std::atomic<bool> frame_posted_{false};
  int waiting_ = 0;          // nesting of WaitUntil; OnChange is held back meanwhile
  bool change_pending_ = false;
  bool loaded_ = false;
  // libmpv's own position is the time of the picture shown, which can lie
  // a little after the start (or a sought place) when a medium's streams
  // start apart; a paused medium answers where it was put instead.
  std::optional<int32_t> held_position_;
  int32_t PlayingPosition() const;
  bool load_started_ = false;
  bool load_failed_ = false;
  int load_error_ = 0;
  bool restarted_ = false;   // a load or seek has its picture ready
  bool playback_failed_ = false;
  bool buffering_ = false;
  QImage frame_;
  QSize frame_size_{160, 120};

  // The archive entry that the next "vorkmedia://" open reads. libmpv opens
  // it on one of its own threads, hence the lock.
  friend struct ArchiveStreamProtocol;
  std::mutex source_lock_;
  MediaSource archived_;
};

}  // namespace vork
