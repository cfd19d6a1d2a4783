#include "media/oggaudio/sound_output.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "media/oggaudio/oggaudio.h"
#include "media/oggaudio/sdl_audio.h"
#include "media/oggaudio/sound_error.h"
#include "platform/diagnostic_log.h"

namespace vork {

namespace {

// 1,024 frames at 44.1 kHz is 23 ms: short enough that a click sounds with
// the click, long enough that decoding in the callback never runs dry.
constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr Uint16 kBufferFrames = 1024;
constexpr std::size_t kDecodeBytes = 16384;
// Silence pushed after a sound, in chunks of this many frames, to bring the
// converter's held-back samples out; bounded in case it never gives them.
constexpr int kPaddingFrames = 256;
constexpr int kMostPaddingChunks = 64;

SDL_AudioFormat SdlFormat(SampleType type) {
  return type == SampleType::kUnsigned8 ? AUDIO_U8 : AUDIO_S16LSB;
}

std::string DescribeOutput(const SdlAudio& sdl, const SDL_AudioSpec& format) {
  const char* driver = sdl.GetCurrentAudioDriver();
  return std::string("oggaudio: audio output opened (driver ") + (driver ? driver : "?") + ", " +
         std::to_string(format.freq) + " Hz, " + std::to_string(format.channels) + " channels, buffer of " +
         std::to_string(format.samples) + " sample frames = " + std::to_string(format.samples * 1000 / format.freq) +
         " ms)";
}

}  // namespace

SoundOutput& SoundOutput::Instance() {
  static SoundOutput output;
  return output;
}

SoundOutput::~SoundOutput() { Close(); }

void SoundOutput::OpenDevice() {
  std::string failure;
  sdl_ = LoadSdlAudio(&failure);
  if (sdl_ != nullptr) {
    // SDL would otherwise take over SIGINT and SIGTERM, and the player's
    // watchdog and the desktop could no longer end the process.
    sdl_->SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    if (sdl_->InitSubSystem(SDL_INIT_AUDIO) != 0) {
      failure = sdl_->GetError();
    } else {
      SDL_AudioSpec wanted{};
      wanted.freq = kRate;
      wanted.format = AUDIO_S16SYS;
      wanted.channels = kChannels;
      wanted.samples = kBufferFrames;
      wanted.callback = FillDeviceBuffer;
      wanted.userdata = this;
      // Rate and channels may follow the device (each voice converts to
      // them); the buffer size may not, so latency stays what we asked for.
      device_ = sdl_->OpenAudioDevice(nullptr, 0, &wanted, &deviceFormat_,
                                      SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
      if (device_ == 0) {
        failure = sdl_->GetError();
        sdl_->QuitSubSystem(SDL_INIT_AUDIO);
      }
    }
  }
  if (device_ == 0) {
    // Remembered until Close, so a machine without sound logs this once
    // rather than once per sound.
    state_ = DeviceState::kUnavailable;
    DiagnosticLog("oggaudio: no audio output (" + failure + "); sounds are not played");
    throw SoundError(OGGAUDIO_ERROR_NO_AUDIO_OUTPUT, "no audio output");
  }
  state_ = DeviceState::kOpen;
  paused_ = true;  // until it has a sound to play
  decoded_.resize(kDecodeBytes);
  converted_.resize(deviceFormat_.size);
  DiagnosticLog(DescribeOutput(*sdl_, deviceFormat_));
}

void SoundOutput::Play(Engine engine, std::unique_ptr<SoundDecoder> sound, bool wait) {
  std::unique_lock lock(mutex_);
  if (state_ == DeviceState::kUnavailable) throw SoundError(OGGAUDIO_ERROR_NO_AUDIO_OUTPUT, "no audio output");
  if (state_ == DeviceState::kClosed) OpenDevice();
  PcmFormat format = sound->Format();
  SDL_AudioStream* converter = sdl_->NewAudioStream(SdlFormat(format.type), static_cast<Uint8>(format.channels),
                                                  format.rate, deviceFormat_.format, deviceFormat_.channels, deviceFormat_.freq);
  if (!converter) {
    throw SoundError(OGGAUDIO_ERROR_NOT_A_SOUND, "the audio output cannot take " + std::to_string(format.channels) +
                                                     " channels at " + std::to_string(format.rate) +
                                                     " Hz: " + sdl_->GetError());
  }
  Voice& voice = voices_[static_cast<int>(engine)];
  Silence(voice);
  voice.sound = std::move(sound);
  voice.format = format;
  voice.converter = converter;
  voice.decoded = false;
  voice.framesIn = voice.framesOut = voice.framesToPlay = 0;
  voice.id = ++lastId_;
  const std::uint64_t id = voice.id;
  if (paused_) {
    // The callback takes mutex_ inside SDL's device lock, so SDL's lock is
    // never taken with mutex_ held. A Close in between makes this a no-op.
    paused_ = false;
    const SDL_AudioDeviceID device = device_;
    lock.unlock();
    sdl_->PauseAudioDevice(device, 0);
    lock.lock();
  }
  if (!wait) return;
  voiceEnded_.wait(lock, [&] { return voice.id != id; });
}

void SoundOutput::StopAll() {
  std::lock_guard lock(mutex_);
  for (Voice& voice : voices_) Silence(voice);
}

void SoundOutput::Stop(Engine engine) {
  std::lock_guard lock(mutex_);
  Silence(voices_[static_cast<int>(engine)]);
}

bool SoundOutput::IsPlaying(Engine engine) {
  std::lock_guard lock(mutex_);
  return voices_[static_cast<int>(engine)].id != 0;
}

void SoundOutput::Close() {
  SDL_AudioDeviceID device = 0;
  {
    std::lock_guard lock(mutex_);
    for (Voice& voice : voices_) Silence(voice);
    device = device_;
    device_ = 0;
    state_ = DeviceState::kClosed;
  }
  // Outside mutex_: closing joins the audio thread, whose callback takes it.
  if (device != 0) {
    sdl_->CloseAudioDevice(device);
    sdl_->QuitSubSystem(SDL_INIT_AUDIO);
  }
}

void SoundOutput::Silence(Voice& voice) {
  if (voice.converter) sdl_->FreeAudioStream(voice.converter);
  voice.converter = nullptr;
  voice.sound.reset();
  if (voice.id != 0) {
    voice.id = 0;
    voiceEnded_.notify_all();
  }
}

void SDLCALL SoundOutput::FillDeviceBuffer(void* self, Uint8* out, int length) {
  static_cast<SoundOutput*>(self)->Mix(out, length);
}

void SoundOutput::SetVolume(int volume) {
  mixVolume_ = std::clamp(volume, 0, 100) * SDL_MIX_MAXVOLUME / 100;
}

void SoundOutput::Mix(Uint8* out, int length) {
  std::lock_guard lock(mutex_);
  std::memset(out, deviceFormat_.silence, static_cast<std::size_t>(length));
  if (static_cast<std::size_t>(length) > converted_.size()) return;  // SDL keeps to deviceFormat_.size
  const int frameBytes = DeviceFrameBytes();
  for (Voice& voice : voices_) {
    if (voice.id == 0) continue;
    Feed(voice, length);
    int wanted = length;
    if (voice.decoded) {
      std::uint64_t left = (voice.framesToPlay - voice.framesOut) * static_cast<std::uint64_t>(frameBytes);
      if (left < static_cast<std::uint64_t>(wanted)) wanted = static_cast<int>(left);
    }
    int got = wanted > 0 ? sdl_->AudioStreamGet(voice.converter, converted_.data(), wanted) : 0;
    if (got > 0) {
      sdl_->MixAudioFormat(out, converted_.data(), deviceFormat_.format, static_cast<Uint32>(got), mixVolume_.load());
      voice.framesOut += static_cast<std::uint64_t>(got / frameBytes);
    }
    if (got < 0 || (voice.decoded && (got == 0 || voice.framesOut >= voice.framesToPlay))) Silence(voice);
  }
}

// Decodes until the converter holds `wanted` bytes for the device or the
// sound has given everything.
void SoundOutput::Feed(Voice& voice, int wanted) {
  while (!voice.decoded && sdl_->AudioStreamAvailable(voice.converter) < wanted) {
    std::size_t bytes = voice.sound->Read(decoded_);
    if (bytes == 0 || sdl_->AudioStreamPut(voice.converter, decoded_.data(), static_cast<int>(bytes)) != 0) {
      FinishDecoding(voice);
      return;
    }
    voice.framesIn += bytes / static_cast<std::size_t>(voice.format.FrameBytes());
  }
}

// SDL's converter holds back the last few hundred frames for its resampler,
// and SDL 2.26 loses them on SDL_AudioStreamFlush whenever its staging buffer
// happens to be empty. So instead of flushing, silence is pushed through
// until every frame of the sound has come out, and the output is cut there.
void SoundOutput::FinishDecoding(Voice& voice) {
  voice.decoded = true;
  const auto rate = static_cast<std::uint64_t>(voice.format.rate);
  voice.framesToPlay = (voice.framesIn * static_cast<std::uint64_t>(deviceFormat_.freq) + rate - 1) / rate;
  const int chunk = kPaddingFrames * voice.format.FrameBytes();
  std::memset(decoded_.data(), voice.format.type == SampleType::kUnsigned8 ? 0x80 : 0, static_cast<std::size_t>(chunk));
  const auto frameBytes = static_cast<std::uint64_t>(DeviceFrameBytes());
  for (int i = 0; i < kMostPaddingChunks; ++i) {
    auto available = static_cast<std::uint64_t>(sdl_->AudioStreamAvailable(voice.converter));
    if (voice.framesOut + available / frameBytes >= voice.framesToPlay) break;
    if (sdl_->AudioStreamPut(voice.converter, decoded_.data(), chunk) != 0) break;
  }
}

int SoundOutput::DeviceFrameBytes() const { return SDL_AUDIO_BITSIZE(deviceFormat_.format) / 8 * deviceFormat_.channels; }

}  // namespace vork
