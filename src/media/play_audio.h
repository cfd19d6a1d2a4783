#pragma once
// The sound operations every script object may use: play a course sound by
// its logical name, silence every sound, player and recording, and speak a
// text letter by letter.

#include <string>
#include <string_view>

namespace vork {

class TVkObjectManager;
class TVkScriptObject;

// Stops the shared audio player, then every live media player (classes 5
// and 7) and every recording audio recorder (class 21) of the manager.
void StopAllMedia(TVkObjectManager& manager);

// Plays the course sound `name` (".aud" names are found in the archives or
// as loose ".ogg" / ".wav" files in the media directory) after stopping all
// media. A leading "!" plays it to its end, with the stage disabled and the
// hourglass shown, while events go on being processed. A sound that is
// missing or cannot be played is reported on the stage's message overlay
// and in the diagnostic log; the caller goes on either way. The caller may
// be destroyed by an event processed during a synchronous sound.
void PlayAudio(TVkScriptObject& caller, std::string_view name);

// The letter sound for a byte: "say_" + three decimal digits + ".wav",
// looked up in the media directory (the player's folder for files named
// without a folder), else the working directory. "" when there is none.
std::string LetterSoundFile(unsigned char letter);

// Normalises text as typed answers are (NormalizeAnswer) and plays the
// letter sound of each of its bytes, in order, each to its end, through the
// file player. Stops early when an event processed during a sound has
// destroyed the caller (a scene change, the course ending).
void SayLetters(TVkScriptObject& caller, std::string_view text);

}  // namespace vork
