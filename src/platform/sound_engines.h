#pragma once
// The two engines of the sound library (Ogg and wave), as the host offers
// them (PlayerHost::Sound): the real library in a real run
// (media/sound_library.h), fakes in tests, so that the audio players can be
// tested without a sound device.

#include <cstdint>
#include <string>

namespace vork {

// Every play is asynchronous: a caller that must wait polls the engine's
// Playing while it goes on handling events, so the player never blocks
// inside the library.
class SoundEngines {
 public:
  virtual ~SoundEngines() = default;

  // The library's answer: true when the play started.
  virtual bool PlayOgg(const std::string& location) = 0;
  virtual bool PlayWave(const std::string& location) = 0;
  // A recording (wave or Ogg Vorbis, told by its content) on the wave
  // engine, streamed from `start_ms` on. Engines that cannot start inside a
  // sound play it only from its start.
  virtual bool PlayWaveFrom(const std::string& location, std::int64_t start_ms) {
    return start_ms <= 0 && PlayWave(location);
  }
  // The error code of the most recent play of either engine (oggaudio.h).
  virtual int LastError() = 0;
  // Either stop silences both engines; both are offered as the library has them.
  virtual void StopOgg() = 0;
  virtual void StopWave() = 0;
  virtual bool OggPlaying() = 0;
  virtual bool WavePlaying() = 0;
};

}  // namespace vork
