#pragma once
// The one audio output that both engines play through. Each engine has one
// voice; the audio callback decodes every voice just ahead of the device and
// mixes them.

#include <SDL.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "media/oggaudio/sound_decoder.h"

namespace vork {

struct SdlAudio;

enum class Engine { kOgg = 0, kWave = 1 };

class SoundOutput {
 public:
  static SoundOutput& Instance();

  SoundOutput() = default;
  SoundOutput(const SoundOutput&) = delete;
  SoundOutput& operator=(const SoundOutput&) = delete;
  ~SoundOutput();

  // Replaces what `engine` plays by `sound`, opening the output on first use.
  // With `wait`, returns once the sound has ended, was stopped or was
  // replaced. Throws SoundError when there is no output or the output cannot
  // take the sound's layout.
  void Play(Engine engine, std::unique_ptr<SoundDecoder> sound, bool wait);
  void StopAll();
  // Silences what `engine` plays, as a play of nothing would.
  void Stop(Engine engine);
  bool IsPlaying(Engine engine);
  // 0 (silent) to 100 (as recorded); clamped. Read by every mix.
  void SetVolume(int volume);
  // Stops everything and closes the device; the next play opens it again.
  void Close();

 private:
  struct Voice {
    std::unique_ptr<SoundDecoder> sound;
    PcmFormat format;
    SDL_AudioStream* converter = nullptr;  // the sound's format to the device's
    std::uint64_t id = 0;                  // 0 while the voice is silent
    bool decoded = false;                  // the sound has given all its samples
    std::uint64_t framesIn = 0;            // sound frames put into the converter
    std::uint64_t framesOut = 0;           // device frames taken out of it
    std::uint64_t framesToPlay = 0;        // device frames in all, once decoded
  };
  enum class DeviceState { kClosed, kOpen, kUnavailable };

  void OpenDevice();  // with mutex_ held
  static void SDLCALL FillDeviceBuffer(void* self, Uint8* out, int length);
  void Mix(Uint8* out, int length);
  void Feed(Voice& voice, int wanted);
  void FinishDecoding(Voice& voice);
  int DeviceFrameBytes() const;
  void Silence(Voice& voice);  // with mutex_ held

  // Guards everything below; the audio callback holds it while it mixes.
  std::mutex mutex_;
  std::atomic<int> mixVolume_{SDL_MIX_MAXVOLUME};  // SDL's scale, 0..128
  std::condition_variable voiceEnded_;
  std::array<Voice, 2> voices_;
  std::uint64_t lastId_ = 0;
  DeviceState state_ = DeviceState::kClosed;
  const SdlAudio* sdl_ = nullptr;  // loaded by the first OpenDevice
  SDL_AudioDeviceID device_ = 0;
  bool paused_ = false;
  SDL_AudioSpec deviceFormat_{};  // what the device obtained
  std::vector<std::byte> decoded_;
  std::vector<Uint8> converted_;
};

}  // namespace vork
