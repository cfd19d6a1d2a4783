#include "exercises/dictation/recording_player.h"

#include <algorithm>
#include <memory>

#include "media/audio_player.h"
#include "media/oggaudio/byte_range_file.h"
#include "media/oggaudio/sound_decoder.h"
#include "media/oggaudio/sound_error.h"
#include "media/oggaudio/sound_location.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/path_resolver.h"
#include "platform/player_host.h"
#include "platform/sound_engines.h"
#include "resources/res_manager.h"

namespace vork {

namespace {

// Well under the output's buffer time, so the end of a recording is seen
// at once, and rare enough to cost nothing.
constexpr int kPollMilliseconds = 20;

bool WavePlaying() {
  SoundEngines* engines = Host().Sound();
  return engines && engines->WavePlaying();
}

// Where the recording's bytes are: a course sound, a file of the media
// folder, or the name itself as a path.
std::string LocateRecording(const std::string& name) {
  TVkResManager& resources = ResManager();
  const AudioLocation sound = resources.LocateAudio(name);
  if (!sound.location.empty()) return sound.location;
  if (CourseFileExists(resources.MediaDirectory(), name)) return ResolveCoursePath(resources.MediaDirectory(), name);
  return ResolveCoursePath(name);
}

}  // namespace

TVkRecordingPlayer::TVkRecordingPlayer() : TVkRecordingPlayer(TKsAudioPlayer::FilePlayer(), WavePlaying) {}

TVkRecordingPlayer::TVkRecordingPlayer(TKsAudioPlayer& audio, PlayingProbe playing)
    : audio_(audio), playing_probe_(std::move(playing)) {
  poll_.setInterval(kPollMilliseconds);
  QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
}

TVkRecordingPlayer::~TVkRecordingPlayer() {
  if (playing_) audio_.Stop();
}

void TVkRecordingPlayer::Open() {
  const std::string location_text = LocateRecording(file_name_);
  const auto fail = [&](const std::string& why) -> EVkError {
    return EVkError("Cannot play the recording \"" + file_name_ + "\": " + why);
  };
  const std::optional<SoundLocation> location = ParseSoundLocation(location_text);
  if (!location) throw fail("no such file");
  std::int64_t length_ms = 0;
  try {
    // The same decoders the engine will stream it with: what opens here plays.
    const std::unique_ptr<SoundDecoder> decoder = OpenAnySound(ByteRangeFile::Open(*location));
    const auto frames = static_cast<std::int64_t>(decoder->Frames());
    length_ms = frames * 1000 / decoder->Format().rate;
  } catch (const SoundError& error) {
    throw fail(error.what());
  }
  location_ = location_text;
  length_ms_ = length_ms;
  position_ms_ = 0;
  open_ = true;
}

RecordingMode TVkRecordingPlayer::Mode() {
  if (!open_) return RecordingMode::kNotReady;
  return playing_ ? RecordingMode::kPlaying : RecordingMode::kStopped;
}

std::int64_t TVkRecordingPlayer::Position() {
  if (!playing_) return position_ms_;
  return std::min(length_ms_, play_started_from_ + MonotonicMilliseconds() - play_started_at_);
}

void TVkRecordingPlayer::SetPosition(std::int64_t ms) {
  if (playing_) Stop();
  position_ms_ = std::clamp<std::int64_t>(ms, 0, length_ms_);
}

void TVkRecordingPlayer::Play() {
  if (!open_) throw EVkError("The recording \"" + file_name_ + "\" is not open");
  if (playing_) Stop();
  if (position_ms_ >= length_ms_) position_ms_ = 0;
  playing_ = true;
  engine_seen_playing_ = false;
  play_started_from_ = position_ms_;
  play_started_at_ = MonotonicMilliseconds();
  audio_.PlayFrom(location_, position_ms_);
  poll_.start();
}

void TVkRecordingPlayer::Stop() {
  if (!playing_) return;
  const std::int64_t position = Position();
  audio_.Stop();
  Finish(position);
}

void TVkRecordingPlayer::Poll() {
  if (!playing_) return;
  const bool engine_playing = playing_probe_();
  engine_seen_playing_ = engine_seen_playing_ || engine_playing;
  const std::int64_t position = Position();
  // A machine without sound never plays: there the clock alone ends it.
  if (position >= length_ms_ || (engine_seen_playing_ && !engine_playing)) Finish(position);
}

void TVkRecordingPlayer::Finish(std::int64_t position) {
  poll_.stop();
  playing_ = false;
  position_ms_ = position;
  if (!notify_) return;
  notify_ = false;
  if (OnNotify) OnNotify();
}

}  // namespace vork
