#pragma once
// SDL's audio functions, from libSDL2 loaded when the first sound plays or the
// first recording starts rather than when the player starts: linked directly,
// SDL and the thirty-odd display and sound-server libraries behind it were
// loaded and relocated on every start, before the first scene could show.
//
// The sound library and the player each load the table; dlopen gives both the
// same libSDL2, so SDL's counted audio subsystem stays shared between the
// sound output and the recorder.

#include <SDL.h>

#include <string>

namespace vork {

struct SdlAudio {
  decltype(&SDL_GetError) GetError;
  decltype(&SDL_SetHintWithPriority) SetHintWithPriority;
  decltype(&SDL_InitSubSystem) InitSubSystem;
  decltype(&SDL_QuitSubSystem) QuitSubSystem;
  decltype(&SDL_GetCurrentAudioDriver) GetCurrentAudioDriver;
  decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
  decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
  decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
  decltype(&SDL_MixAudioFormat) MixAudioFormat;
  decltype(&SDL_NewAudioStream) NewAudioStream;
  decltype(&SDL_AudioStreamPut) AudioStreamPut;
  decltype(&SDL_AudioStreamGet) AudioStreamGet;
  decltype(&SDL_AudioStreamAvailable) AudioStreamAvailable;
  decltype(&SDL_FreeAudioStream) FreeAudioStream;
};

// SDL's functions, loaded on the first call; null when libSDL2 cannot be
// loaded or lacks one of them, and then *failure says why (the same answer
// on every later call).
const SdlAudio* LoadSdlAudio(std::string* failure);

}  // namespace vork
