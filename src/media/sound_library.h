#pragma once
// The sound library liboggaudio.so as the player uses it: loaded once with
// dlopen from the executable's folder, checked for its revision, and kept
// loaded for the whole run. Its two engines (Ogg and wave) are reached
// through SoundEngines, so that the audio player can be tested without a
// sound device.

#include <string>

namespace vork {

// The two engines of the sound library. Every play is asynchronous: a caller
// that must wait polls the engine's Playing while it goes on handling
// events, so the player never blocks inside the library.
class SoundEngines {
 public:
  virtual ~SoundEngines() = default;

  // The library's answer: true when the play started.
  virtual bool PlayOgg(const std::string& location) = 0;
  virtual bool PlayWave(const std::string& location) = 0;
  // The error code of the most recent play of either engine (oggaudio.h).
  virtual int LastError() = 0;
  // Either stop silences both engines; both are offered as the library has them.
  virtual void StopOgg() = 0;
  virtual void StopWave() = 0;
  virtual bool OggPlaying() = 0;
  virtual bool WavePlaying() = 0;
};

// Loads liboggaudio.so from `directory` unless it is already loaded. Answers
// "" when the library is there and answers revision 4, else the start-up
// message: "Required file " + path in upper case + " not found.", or
// "Wrong version of liboggaudio.so." (also when an entry point is missing).
std::string LoadSoundLibrary(const std::string& directory);

// The engines of the loaded library, or null before a successful load.
SoundEngines* LoadedSoundLibrary();

}  // namespace vork
