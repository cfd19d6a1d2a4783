#pragma once
// The sound library liboggaudio.so as the player uses it: loaded once with
// dlopen from the executable's folder, checked for its revision, and kept
// loaded for the whole run. Its two engines (Ogg and wave) are reached
// through SoundEngines, which a real run's host offers.

#include <string>

#include "platform/sound_engines.h"

namespace vork {

// Loads liboggaudio.so from `directory` unless it is already loaded. Answers
// "" when the library is there and answers revision 4, else the start-up
// message: "Required file " + path in upper case + " not found.", or
// "Wrong version of liboggaudio.so." (also when an entry point is missing).
std::string LoadSoundLibrary(const std::string& directory);

// The engines of the loaded library, or null before a successful load.
SoundEngines* LoadedSoundLibrary();

}  // namespace vork
