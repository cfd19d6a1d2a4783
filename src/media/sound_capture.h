#pragma once
// The recording device: SDL audio capture at 22,050 Hz mono 16-bit, written
// straight into a wave file of the recording layout (recording_wave.h).
//
// SDL is shared with the sound library (one libSDL2 in the process); its
// audio subsystem is counted, so opening and closing the capture device
// leaves the library's output alone.

#include <SDL.h>

#include <cstdint>
#include <string>

namespace vork {

struct SdlAudio;

class SoundCapture {
 public:
  SoundCapture() = default;
  ~SoundCapture();
  SoundCapture(const SoundCapture&) = delete;
  SoundCapture& operator=(const SoundCapture&) = delete;

  // Opens the capture device and records into `wave_file` (which holds a
  // recording header) from its first sample on, replacing the samples the
  // file held. Raises EVkError with SDL's text when the device cannot be
  // opened, or naming the file when it cannot be written.
  void Start(const std::string& wave_file);
  // Stops and closes the device and completes the file's header with the
  // length recorded. Does nothing when not recording.
  void Stop();
  bool Recording() const { return device_ != 0; }

  // Why the last take could not be written in full ("" when it was).
  const std::string& WriteFailure() const { return write_failure_; }

 private:
  static void SDLCALL TakeSamples(void* self, Uint8* samples, int length);

  const SdlAudio* sdl_ = nullptr;  // loaded by the first Start
  SDL_AudioDeviceID device_ = 0;
  std::string file_;
  int fd_ = -1;
  // Touched by SDL's audio thread while the device is open, and by the main
  // thread only once it is closed (closing joins that thread).
  std::uint32_t recorded_bytes_ = 0;
  std::string write_failure_;
};

}  // namespace vork
