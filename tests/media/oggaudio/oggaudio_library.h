#pragma once
// liboggaudio.so as the player sees it: loaded with dlopen, entry points
// looked up by name.

#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "media/oggaudio/oggaudio.h"
#include "platform/shared_library.h"

namespace vork::testing {

struct OggAudioLibrary {
  void* handle = nullptr;
  OggGetRevFunction OggGetRev = nullptr;
  OggPlaySoundFunction OggPlaySound = nullptr;
  OggStopSoundFunction OggStopSound = nullptr;
  OggGetErrorFunction OggGetError = nullptr;
  OggIsPlayingFunction OggIsPlaying = nullptr;
  WavPlaySoundFunction WavPlaySound = nullptr;
  WavStopSoundFunction WavStopSound = nullptr;
  WavIsPlayingFunction WavIsPlaying = nullptr;
  WavPlaySoundFromFunction WavPlaySoundFrom = nullptr;
  OggShutdownFunction OggShutdown = nullptr;

  // Loads the library built beside the player; throws naming what is missing.
  explicit OggAudioLibrary(const std::string& path) {
    handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) throw std::runtime_error(::dlerror());
    Find(OggGetRev, "OggGetRev");
    Find(OggPlaySound, "OggPlaySound");
    Find(OggStopSound, "OggStopSound");
    Find(OggGetError, "OggGetError");
    Find(OggIsPlaying, "OggIsPlaying");
    Find(WavPlaySound, "WavPlaySound");
    Find(WavStopSound, "WavStopSound");
    Find(WavIsPlaying, "WavIsPlaying");
    Find(WavPlaySoundFrom, "WavPlaySoundFrom");
    Find(OggShutdown, "OggShutdown");
  }

  // Kept loaded for the whole test run, as the player keeps it.
  static OggAudioLibrary& Shared() {
    static OggAudioLibrary library(OGGAUDIO_LIBRARY);
    return library;
  }

 private:
  template <class Function>
  void Find(Function& function, const char* name) {
    if (!FindFunction(handle, name, function)) throw std::runtime_error(std::string("liboggaudio.so lacks ") + name);
  }
};

}  // namespace vork::testing
