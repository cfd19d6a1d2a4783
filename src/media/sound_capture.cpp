#include "media/sound_capture.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "media/oggaudio/sdl_audio.h"
#include "media/recording_wave.h"
#include "platform/errors.h"

namespace vork {

namespace {

// About 46 ms a buffer at 22,050 Hz: recording has no latency to keep small.
constexpr Uint16 kCaptureBufferFrames = 1024;

}  // namespace

SoundCapture::~SoundCapture() { Stop(); }

void SoundCapture::Start(const std::string& wave_file) {
  Stop();
  fd_ = ::open(wave_file.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd_ < 0 || ::ftruncate(fd_, kWaveHeaderBytes) != 0 ||
      ::lseek(fd_, kWaveHeaderBytes, SEEK_SET) != static_cast<off_t>(kWaveHeaderBytes)) {
    const std::string reason = std::strerror(errno);
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    throw EVkError("Cannot record into \"" + wave_file + "\": " + reason + ".");
  }
  file_ = wave_file;
  recorded_bytes_ = 0;
  write_failure_.clear();

  std::string failure;
  sdl_ = LoadSdlAudio(&failure);
  if (sdl_ == nullptr) {
    failure = "Cannot start the audio system for recording: " + failure;
  } else {
    // SDL would otherwise take over SIGINT and SIGTERM, and neither the
    // --timeout watchdog nor the desktop could end the player any more.
    sdl_->SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    if (sdl_->InitSubSystem(SDL_INIT_AUDIO) != 0) {
      failure = std::string("Cannot start the audio system for recording: ") + sdl_->GetError();
    } else {
      SDL_AudioSpec wanted{};
      wanted.freq = kRecordingRate;
      wanted.format = AUDIO_S16LSB;  // wave files are little-endian
      wanted.channels = 1;
      wanted.samples = kCaptureBufferFrames;
      wanted.callback = TakeSamples;
      wanted.userdata = this;
      SDL_AudioSpec obtained{};
      // No changes allowed: SDL converts whatever the microphone gives.
      device_ = sdl_->OpenAudioDevice(nullptr, 1, &wanted, &obtained, 0);
      if (device_ == 0) {
        failure = std::string("Cannot open the recording device: ") + sdl_->GetError();
        sdl_->QuitSubSystem(SDL_INIT_AUDIO);
      }
    }
  }
  if (device_ == 0) {
    ::close(fd_);
    fd_ = -1;
    throw EVkError(failure);
  }
  sdl_->PauseAudioDevice(device_, 0);
}

void SoundCapture::Stop() {
  if (device_ == 0) return;
  sdl_->CloseAudioDevice(device_);
  device_ = 0;
  sdl_->QuitSubSystem(SDL_INIT_AUDIO);
  const std::string header = RecordingWaveHeader(recorded_bytes_);
  if (::pwrite(fd_, header.data(), header.size(), 0) != static_cast<ssize_t>(header.size()) &&
      write_failure_.empty()) {
    write_failure_ = std::strerror(errno);
  }
  ::close(fd_);
  fd_ = -1;
}

void SDLCALL SoundCapture::TakeSamples(void* self, Uint8* samples, int length) {
  auto& capture = *static_cast<SoundCapture*>(self);
  if (!capture.write_failure_.empty()) return;
  std::uint32_t wanted = static_cast<std::uint32_t>(length);
  wanted = std::min(wanted, kMostRecordingBytes - capture.recorded_bytes_) & ~1u;
  while (wanted > 0) {
    const ssize_t written = ::write(capture.fd_, samples, wanted);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      capture.write_failure_ = written < 0 ? std::strerror(errno) : "nothing written";
      return;
    }
    capture.recorded_bytes_ += static_cast<std::uint32_t>(written);
    samples += written;
    wanted -= static_cast<std::uint32_t>(written);
  }
}

}  // namespace vork
