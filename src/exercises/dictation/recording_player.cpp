#include "exercises/dictation/recording_player.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

#include "media/audio_player.h"
#include "media/recording_wave.h"
#include "media/oggaudio/byte_range_file.h"
#include "media/oggaudio/sound_decoder.h"
#include "media/oggaudio/sound_error.h"
#include "media/oggaudio/sound_location.h"
#include "text/temp_file.h"
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
// Decoded PCM kept for one recording: an hour of CD-quality stereo.
constexpr std::size_t kMostPcmBytes = std::size_t{44100} * 4 * 3600;

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

std::unique_ptr<SoundDecoder> OpenDecoder(const SoundLocation& location) {
  ByteRangeFile probe = ByteRangeFile::Open(location);
  std::array<char, 4> magic{};
  const bool ogg = probe.Read(magic.data(), magic.size()) == magic.size() && std::memcmp(magic.data(), "OggS", 4) == 0;
  ByteRangeFile file = ByteRangeFile::Open(location);
  return ogg ? OpenVorbisSound(std::move(file)) : OpenWaveSound(std::move(file));
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
  RemoveTail();
}

void TVkRecordingPlayer::Open() {
  const std::string location_text = LocateRecording(file_name_);
  const auto fail = [&](const std::string& why) -> EVkError {
    return EVkError("Cannot play the recording \"" + file_name_ + "\": " + why);
  };
  const std::optional<SoundLocation> location = ParseSoundLocation(location_text);
  if (!location) throw fail("no such file");
  Pcm pcm;
  try {
    std::unique_ptr<SoundDecoder> decoder = OpenDecoder(*location);
    const PcmFormat format = decoder->Format();
    pcm.channels = format.channels;
    pcm.rate = format.rate;
    pcm.bits = format.type == SampleType::kUnsigned8 ? 8 : 16;
    std::vector<std::byte> buffer(64 * 1024);
    for (std::size_t read; (read = decoder->Read(buffer)) > 0;) {
      if (pcm.data.size() + read > kMostPcmBytes) throw fail("longer than an hour");
      pcm.data.insert(pcm.data.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(read));
    }
  } catch (const SoundError& error) {
    throw fail(error.what());
  }
  pcm_ = std::move(pcm);
  const std::int64_t frames = static_cast<std::int64_t>(pcm_.data.size() / pcm_.FrameBytes());
  length_ms_ = frames * 1000 / pcm_.rate;
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
  RemoveTail();
  tail_file_ = WriteTail(position_ms_);
  playing_ = true;
  engine_seen_playing_ = false;
  play_started_from_ = position_ms_;
  play_started_at_ = MonotonicMilliseconds();
  audio_.Play(tail_file_, false);
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
  RemoveTail();
  if (!notify_) return;
  notify_ = false;
  if (OnNotify) OnNotify();
}

std::string TVkRecordingPlayer::WriteTail(std::int64_t from_ms) const {
  const std::size_t frame = pcm_.FrameBytes();
  const std::size_t first_frame = static_cast<std::size_t>(from_ms * pcm_.rate / 1000);
  const std::size_t from = std::min(pcm_.data.size(), first_frame * frame);
  const auto size = static_cast<std::uint32_t>(pcm_.data.size() - from);
  const std::string header = WaveHeader(pcm_.channels, pcm_.rate, pcm_.bits, size);

  const std::string path = CreateTempFile(".wav");
  if (path.empty()) throw EVkError("Cannot create a temporary file for the recording \"" + file_name_ + "\"");
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(header.data(), static_cast<std::streamsize>(header.size()));
  out.write(reinterpret_cast<const char*>(pcm_.data.data() + from), static_cast<std::streamsize>(size));
  if (!out) {
    std::remove(path.c_str());
    throw EVkError("Cannot write the temporary file " + path);
  }
  return path;
}

void TVkRecordingPlayer::RemoveTail() {
  if (tail_file_.empty()) return;
  std::remove(tail_file_.c_str());
  tail_file_.clear();
}

}  // namespace vork
