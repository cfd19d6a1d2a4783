#include "media/sound_library.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <memory>

#include "media/oggaudio/oggaudio.h"
#include "media/sound_level.h"
#include "platform/cp1252.h"
#include "platform/shared_library.h"

namespace vork {

namespace {

class SoundLibrary : public SoundEngines {
 public:
  // Null when the file cannot be loaded or lacks an entry point. The handle
  // is never closed: SDL's audio thread runs code of the library until exit.
  static std::unique_ptr<SoundLibrary> Open(const std::string& path) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    auto library = std::unique_ptr<SoundLibrary>(new SoundLibrary);
    bool complete = FindFunction(handle, "OggGetRev", library->get_rev_) &&
                    FindFunction(handle, "OggPlaySound", library->play_ogg_) &&
                    FindFunction(handle, "OggStopSound", library->stop_ogg_) &&
                    FindFunction(handle, "OggGetError", library->get_error_) &&
                    FindFunction(handle, "OggIsPlaying", library->ogg_playing_) &&
                    FindFunction(handle, "WavPlaySound", library->play_wave_) &&
                    FindFunction(handle, "WavStopSound", library->stop_wave_) &&
                    FindFunction(handle, "WavIsPlaying", library->wave_playing_);
    if (!complete) return nullptr;
    // Optional: a library without it plays at full volume.
    FindFunction(handle, "OggSetVolume", library->set_volume_);
    // Optional too: without it recordings play only from their start.
    FindFunction(handle, "WavPlaySoundFrom", library->play_wave_from_);
    return library;
  }

  int Revision() const { return get_rev_(); }

  bool PlayOgg(const std::string& location) override {
    // A Windows BOOL false, and the four reserved words.
    return play_ogg_(location.c_str(), 0, 0, 0, 0, 0) != 0;
  }
  bool PlayWave(const std::string& location) override { return play_wave_(location.c_str(), 0) != 0; }
  bool PlayWaveFrom(const std::string& location, std::int64_t start_ms) override {
    if (!play_wave_from_) return SoundEngines::PlayWaveFrom(location, start_ms);
    const auto start = static_cast<int>(std::clamp<std::int64_t>(start_ms, 0, std::numeric_limits<int>::max()));
    return play_wave_from_(location.c_str(), start, 0) != 0;
  }
  int LastError() override { return get_error_(); }
  void StopOgg() override { stop_ogg_(0); }
  void StopWave() override { stop_wave_(); }
  bool OggPlaying() override { return ogg_playing_() != 0; }
  bool WavePlaying() override { return wave_playing_() != 0; }

 private:
  SoundLibrary() = default;

  OggGetRevFunction get_rev_ = nullptr;
  OggPlaySoundFunction play_ogg_ = nullptr;
  OggStopSoundFunction stop_ogg_ = nullptr;
  OggGetErrorFunction get_error_ = nullptr;
  OggIsPlayingFunction ogg_playing_ = nullptr;
  WavPlaySoundFunction play_wave_ = nullptr;
  WavStopSoundFunction stop_wave_ = nullptr;
  WavIsPlayingFunction wave_playing_ = nullptr;
  WavPlaySoundFromFunction play_wave_from_ = nullptr;

 public:
  OggSetVolumeFunction set_volume_ = nullptr;
};

std::unique_ptr<SoundLibrary>& Loaded() {
  static std::unique_ptr<SoundLibrary> library;
  return library;
}

}  // namespace

std::string LoadSoundLibrary(const std::string& directory) {
  if (Loaded()) return {};
  const std::string path = directory + "/liboggaudio.so";
  if (!std::filesystem::exists(path)) return "Required file " + UpperCase(path) + " not found.";
  std::unique_ptr<SoundLibrary> library = SoundLibrary::Open(path);
  if (!library || library->Revision() != OGGAUDIO_REVISION) return "Wrong version of liboggaudio.so.";
  Loaded() = std::move(library);
  if (OggSetVolumeFunction set_volume = Loaded()->set_volume_)
    SoundVolume::Listen([set_volume](int effective) { set_volume(effective); });
  return {};
}

SoundEngines* LoadedSoundLibrary() { return Loaded().get(); }

}  // namespace vork
