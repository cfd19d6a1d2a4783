#pragma once
// The checks the player makes before it opens its window: the sound library,
// a second instance, the media and users directories. Each answers the
// message to show, or an empty string when all is well.

#include <string>

namespace vork {

// The sound library liboggaudio.so beside the executable must exist and
// answer revision 4.
std::string CheckSoundLibrary(const std::string& executable_dir);

// Takes the single-instance lock named "KESTROVA/" + the program file name in
// upper case; false when another running player holds it. The lock is held
// until the process ends.
bool AcquireSingleInstance(const std::string& program_file_name);

// The directory checks, in order; the first failing one gives its message
// (before the start-up error box's own decoration).
std::string CheckDirectories(bool require_media_dir, const std::string& media_dir,
                             const std::string& users_dir);

// The start-up error box text: a message ending in "*" loses the "*";
// any other gets two line breaks and "Please correct the error and try again.".
std::string StartupErrorText(const std::string& message);

}  // namespace vork
