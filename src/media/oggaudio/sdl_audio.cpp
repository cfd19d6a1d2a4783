#include "media/oggaudio/sdl_audio.h"

#include <dlfcn.h>

#include "platform/shared_library.h"

namespace vork {

namespace {

constexpr const char* kLibraryName = "libSDL2-2.0.so.0";

struct LoadedSdl {
  SdlAudio functions{};
  std::string failure;  // empty once every function was found
};

// Fills `entry` with the library's function `name`; the first one missing
// becomes the failure.
template <typename Function>
void Find(void* library, const char* name, Function& entry, std::string& failure) {
  if (!FindFunction(library, name, entry) && failure.empty()) failure = std::string(kLibraryName) + " has no " + name;
}

LoadedSdl Load() {
  LoadedSdl loaded;
  // Never closed: SDL's audio threads run until the process ends.
  void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    loaded.failure = std::string("cannot load ") + kLibraryName + ": " + dlerror();
    return loaded;
  }
  SdlAudio& f = loaded.functions;
  std::string& why = loaded.failure;
  Find(library, "SDL_GetError", f.GetError, why);
  Find(library, "SDL_SetHintWithPriority", f.SetHintWithPriority, why);
  Find(library, "SDL_InitSubSystem", f.InitSubSystem, why);
  Find(library, "SDL_QuitSubSystem", f.QuitSubSystem, why);
  Find(library, "SDL_GetCurrentAudioDriver", f.GetCurrentAudioDriver, why);
  Find(library, "SDL_OpenAudioDevice", f.OpenAudioDevice, why);
  Find(library, "SDL_PauseAudioDevice", f.PauseAudioDevice, why);
  Find(library, "SDL_CloseAudioDevice", f.CloseAudioDevice, why);
  Find(library, "SDL_MixAudioFormat", f.MixAudioFormat, why);
  Find(library, "SDL_NewAudioStream", f.NewAudioStream, why);
  Find(library, "SDL_AudioStreamPut", f.AudioStreamPut, why);
  Find(library, "SDL_AudioStreamGet", f.AudioStreamGet, why);
  Find(library, "SDL_AudioStreamAvailable", f.AudioStreamAvailable, why);
  Find(library, "SDL_FreeAudioStream", f.FreeAudioStream, why);
  return loaded;
}

}  // namespace

const SdlAudio* LoadSdlAudio(std::string* failure) {
  static const LoadedSdl loaded = Load();
  if (!loaded.failure.empty()) {
    *failure = loaded.failure;
    return nullptr;
  }
  return &loaded.functions;
}

}  // namespace vork
