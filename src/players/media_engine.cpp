#include "players/media_engine.h"

#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/stream_cb.h>

#include <QElapsedTimer>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "media/sound_level.h"
#include "platform/errors.h"

namespace vork {

namespace {

constexpr char kArchiveProtocol[] = "vorkmedia";
// A load or seek that libmpv has not finished by then counts as failed,
// rather than hanging the player.
constexpr int kLoadTimeoutMs = 10000;
constexpr int kSeekTimeoutMs = 5000;

// The players are silent wherever the rest of the player's sound is: the
// tests and headless runs choose SDL's dummy or disk driver.
bool SoundSilenced() {
  const char* driver = std::getenv("SDL_AUDIODRIVER");
  return driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "disk") == 0);
}

int32_t Milliseconds(double seconds) {
  if (!std::isfinite(seconds) || seconds <= 0) return 0;
  const double ms = seconds * 1000.0;
  return ms >= std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                    : static_cast<int32_t>(ms);
}

}  // namespace

// libmpv reads archived media through these callbacks on its own threads;
// each open gets a stream over a file handle of its own.
struct ArchiveStreamProtocol {
  static int Open(void* user_data, char*, mpv_stream_cb_info* info) {
    auto* engine = static_cast<MediaEngine*>(user_data);
    MediaSource source;
    {
      std::lock_guard<std::mutex> lock(engine->source_lock_);
      source = engine->archived_;
    }
    if (!source.Archived()) return MPV_ERROR_LOADING_FAILED;
    try {
      info->cookie = OpenArchivedMedia(source).release();
    } catch (const std::exception&) {
      return MPV_ERROR_LOADING_FAILED;
    }
    info->read_fn = Read;
    info->seek_fn = Seek;
    info->size_fn = Size;
    info->close_fn = Close;
    return 0;
  }
  static int64_t Read(void* cookie, char* buffer, uint64_t count) {
    try {
      return static_cast<int64_t>(static_cast<TKsStream*>(cookie)->Read(buffer, count));
    } catch (const std::exception&) {
      return -1;
    }
  }
  static int64_t Seek(void* cookie, int64_t offset) {
    try {
      auto* stream = static_cast<TKsStream*>(cookie);
      // The window clamps; a position outside it is an error for libmpv.
      if (offset < 0 || offset > stream->Size()) return MPV_ERROR_GENERIC;
      return stream->Seek(offset, SeekOrigin::Begin);
    } catch (const std::exception&) {
      return MPV_ERROR_GENERIC;
    }
  }
  static int64_t Size(void* cookie) {
    try {
      return static_cast<TKsStream*>(cookie)->Size();
    } catch (const std::exception&) {
      return MPV_ERROR_UNSUPPORTED;
    }
  }
  static void Close(void* cookie) { delete static_cast<TKsStream*>(cookie); }
};

MediaEngine::MediaEngine(bool keep_aspect) {
  // libmpv refuses to start under any other numeric locale.
  std::setlocale(LC_NUMERIC, "C");
  mpv_ = mpv_create();
  if (!mpv_) throw EVkError("The media player cannot start: libmpv could not be created.");
  Configure(keep_aspect);
  if (mpv_initialize(mpv_) < 0) {
    mpv_terminate_destroy(mpv_);
    throw EVkError("The media player cannot start: libmpv could not be initialised.");
  }
  mpv_stream_cb_add_ro(mpv_, kArchiveProtocol, this, &ArchiveStreamProtocol::Open);
  mpv_observe_property(mpv_, 0, "eof-reached", MPV_FORMAT_FLAG);
  mpv_observe_property(mpv_, 0, "paused-for-cache", MPV_FORMAT_FLAG);

  mpv_render_param params[] = {
      {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
      {MPV_RENDER_PARAM_INVALID, nullptr},
  };
  if (mpv_render_context_create(&render_, mpv_, params) < 0) {
    mpv_terminate_destroy(mpv_);
    throw EVkError("The media player cannot start: libmpv's software renderer is not available.");
  }
  // Both callbacks come from libmpv's threads: they only post a call to
  // this object's thread, once until that call has run.
  mpv_render_context_set_update_callback(
      render_,
      [](void* self) {
        auto* engine = static_cast<MediaEngine*>(self);
        if (!engine->frame_posted_.exchange(true))
          QMetaObject::invokeMethod(engine, [engine] { engine->DrawFrame(false); }, Qt::QueuedConnection);
      },
      this);
  mpv_set_wakeup_callback(
      mpv_,
      [](void* self) {
        auto* engine = static_cast<MediaEngine*>(self);
        if (!engine->events_posted_.exchange(true))
          QMetaObject::invokeMethod(engine, [engine] { engine->DeliverEvents(); }, Qt::QueuedConnection);
      },
      this);
  ClearFrame();
  // The learner's volume and mute, now and whenever they change.
  volume_ticket_ = SoundVolume::Listen([this](int effective) {
    double volume = effective;
    mpv_set_property(mpv_, "volume", MPV_FORMAT_DOUBLE, &volume);
  });
}

double MediaEngine::Volume() const { return DoubleProperty("volume"); }

MediaEngine::~MediaEngine() {
  SoundVolume::Unlisten(volume_ticket_);
  // The render context goes first (libmpv requires it); once the core is
  // destroyed no callback runs again, and calls they posted before die with
  // this QObject.
  mpv_render_context_set_update_callback(render_, nullptr, nullptr);
  mpv_render_context_free(render_);
  mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
  mpv_terminate_destroy(mpv_);
}

void MediaEngine::Configure(bool keep_aspect) {
  struct Option {
    const char* name;
    const char* value;
  } options[] = {
      {"vo", "libmpv"},
      {"ao", SoundSilenced() ? "null" : "pulse,alsa,"},
      {"audio-fallback-to-null", "yes"},
      {"keepaspect", keep_aspect ? "yes" : "no"},
      {"keep-open", "yes"},  // the medium stays loaded at its end, as a stopped one does
      {"pause", "yes"},
      {"idle", "yes"},
      {"hr-seek", "yes"},
      {"audio-display", "no"},
      {"sub-auto", "no"},
      {"audio-file-auto", "no"},
      {"osd-level", "0"},
      {"terminal", "no"},
      {"input-default-bindings", "no"},
      {"input-vo-keyboard", "no"},
      {"load-scripts", "no"},
      {"ytdl", "no"},
      {"hwdec", "no"},
  };
  for (const Option& option : options) mpv_set_option_string(mpv_, option.name, option.value);
}

void MediaEngine::Command(const char* const* args) { mpv_command(mpv_, const_cast<const char**>(args)); }

std::string MediaEngine::Load(const MediaSource& source) {
  Unload();
  if (!source.Found()) return "not found";
  std::string uri = source.path;
  if (source.Archived()) {
    std::lock_guard<std::mutex> lock(source_lock_);
    archived_ = source;
    uri = std::string(kArchiveProtocol) + "://medium";
  }
  load_started_ = false;
  load_failed_ = false;
  load_error_ = 0;
  restarted_ = false;
  playback_failed_ = false;
  SetPaused(true);
  const char* args[] = {"loadfile", uri.c_str(), "replace", nullptr};
  if (mpv_command(mpv_, args) < 0) return "cannot be loaded";
  WaitUntil([this] { return load_failed_ || (loaded_ && restarted_); }, kLoadTimeoutMs);
  if (loaded_ && !load_failed_) {
    held_position_ = 0;
    return {};
  }
  const std::string reason = load_failed_ && load_error_ < 0 ? mpv_error_string(load_error_)
                                                            : "no answer from the media player";
  Unload();
  return reason;
}

void MediaEngine::Unload() {
  if (loaded_ || load_started_) {
    const char* args[] = {"stop", nullptr};
    Command(args);
  }
  loaded_ = false;
  load_started_ = false;
  playback_failed_ = false;
  buffering_ = false;
  held_position_.reset();
  {
    std::lock_guard<std::mutex> lock(source_lock_);
    archived_ = {};
  }
  ClearFrame();
}

void MediaEngine::SetPaused(bool paused) {
  if (!paused) held_position_.reset();
  else if (loaded_ && !held_position_) held_position_ = PlayingPosition();
  int flag = paused ? 1 : 0;
  mpv_set_property(mpv_, "pause", MPV_FORMAT_FLAG, &flag);
}

void MediaEngine::SeekTo(int32_t ms) {
  if (!loaded_) return;
  const std::string seconds = std::to_string(std::max(ms, 0) / 1000.0);
  restarted_ = false;
  const char* args[] = {"seek", seconds.c_str(), "absolute+exact", nullptr};
  if (mpv_command(mpv_, args) < 0) return;
  WaitUntil([this] { return restarted_ || !loaded_; }, kSeekTimeoutMs);
  // A medium that is not playing reports where it was sent, not where
  // libmpv's decoding has got to on the way there.
  if (held_position_ || Paused()) held_position_ = std::clamp(ms, 0, Length());
}

bool MediaEngine::Paused() const {
  int flag = 0;
  return mpv_get_property(mpv_, "pause", MPV_FORMAT_FLAG, &flag) >= 0 && flag != 0;
}

double MediaEngine::DoubleProperty(const char* name) const {
  double value = 0;
  if (mpv_get_property(mpv_, name, MPV_FORMAT_DOUBLE, &value) < 0) return 0;
  return value;
}

int32_t MediaEngine::Length() const { return loaded_ ? Milliseconds(DoubleProperty("duration")) : 0; }

int32_t MediaEngine::PlayingPosition() const {
  if (AtEnd()) return Length();
  return std::min(Milliseconds(DoubleProperty("time-pos")), Length());
}

int32_t MediaEngine::Position() const {
  if (!loaded_) return 0;
  if (AtEnd()) return Length();
  return held_position_ ? *held_position_ : PlayingPosition();
}

bool MediaEngine::AtEnd() const {
  if (!loaded_) return false;
  int flag = 0;
  return mpv_get_property(mpv_, "eof-reached", MPV_FORMAT_FLAG, &flag) >= 0 && flag != 0;
}

bool MediaEngine::HandleEvent(const mpv_event& event) {
  switch (event.event_id) {
    case MPV_EVENT_START_FILE:
      load_started_ = true;
      return false;
    case MPV_EVENT_FILE_LOADED:
      loaded_ = true;
      return false;
    case MPV_EVENT_PLAYBACK_RESTART:
      restarted_ = true;
      return false;
    case MPV_EVENT_END_FILE: {
      const auto* end = static_cast<const mpv_event_end_file*>(event.data);
      // The end of an earlier medium, replaced or stopped, is no news.
      if (!load_started_ || end->reason != MPV_END_FILE_REASON_ERROR) return false;
      load_started_ = false;
      if (!loaded_) {
        load_failed_ = true;
        load_error_ = end->error;
        return false;
      }
      loaded_ = false;
      playback_failed_ = true;
      ClearFrame();
      return true;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
      const auto* property = static_cast<const mpv_event_property*>(event.data);
      if (property->format != MPV_FORMAT_FLAG) return false;
      const bool on = *static_cast<const int*>(property->data) != 0;
      if (std::strcmp(property->name, "paused-for-cache") == 0) buffering_ = on;
      return true;
    }
    default: return false;
  }
}

bool MediaEngine::ReadEvents(double timeout) {
  bool changed = false;
  for (;;) {
    const mpv_event* event = mpv_wait_event(mpv_, timeout);
    if (event->event_id == MPV_EVENT_NONE) return changed;
    changed = HandleEvent(*event) || changed;
    timeout = 0;
  }
}

void MediaEngine::WaitUntil(const std::function<bool()>& done, int timeout_ms) {
  ++waiting_;
  QElapsedTimer clock;
  clock.start();
  // libmpv's video output waits for each frame to be drawn, so frames are
  // drawn here too while the command runs.
  while (!done() && clock.elapsed() < timeout_ms) {
    change_pending_ = ReadEvents(0.01) || change_pending_;
    DrawFrame(false);
  }
  --waiting_;
  if (change_pending_ && waiting_ == 0)
    QMetaObject::invokeMethod(this, [this] { DeliverEvents(); }, Qt::QueuedConnection);
}

void MediaEngine::DeliverEvents() {
  events_posted_ = false;
  if (waiting_ > 0) return;  // the waiting command reads them
  const bool changed = ReadEvents(0) || change_pending_;
  change_pending_ = false;
  if (changed && OnChange) {
    const auto handler = OnChange;  // the handler may free this engine
    handler();
  }
}

void MediaEngine::SetFrameSize(QSize size) {
  size = size.expandedTo(QSize(1, 1));
  if (size == frame_size_) return;
  frame_size_ = size;
  if (loaded_) DrawFrame(true);
  else ClearFrame();
}

void MediaEngine::ClearFrame() {
  frame_ = QImage(frame_size_, QImage::Format_RGB32);
  frame_.fill(Qt::black);
  if (OnFrame) OnFrame();
}

void MediaEngine::DrawFrame(bool force) {
  frame_posted_ = false;
  const bool fresh = (mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME) != 0;
  if (!fresh && !force) return;
  if (frame_.size() != frame_size_) frame_ = QImage(frame_size_, QImage::Format_RGB32);
  int size[2] = {frame_.width(), frame_.height()};
  size_t stride = static_cast<size_t>(frame_.bytesPerLine());
  // Qt's RGB32 is a native 32-bit word 0xffRRGGBB: bytes B, G, R, A on a
  // little-endian machine, A, R, G, B on a big-endian one.
  const char* format = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "bgr0" : "0rgb";
  mpv_render_param params[] = {
      {MPV_RENDER_PARAM_SW_SIZE, size},
      {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(format)},
      {MPV_RENDER_PARAM_SW_STRIDE, &stride},
      {MPV_RENDER_PARAM_SW_POINTER, frame_.bits()},
      {MPV_RENDER_PARAM_INVALID, nullptr},
  };
  if (mpv_render_context_render(render_, params) < 0) return;
  // The filler byte is left undefined; Qt wants it opaque.
  for (int y = 0; y < frame_.height(); ++y) {
    auto* line = reinterpret_cast<uint32_t*>(frame_.scanLine(y));
    for (int x = 0; x < frame_.width(); ++x) line[x] |= 0xff000000u;
  }
  if (OnFrame) OnFrame();
}

}  // namespace vork
