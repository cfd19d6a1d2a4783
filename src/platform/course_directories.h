#pragma once
// The media and users directories of the running course, from the settings
// file beside the program (its name with ".ini"; section "Settings", keys
// "MediaDir" and "UsersDir"), defaulting to "media" and "users" beside the
// program. A value is read up to 1,024 characters and loses one trailing
// separator; a relative value is taken from the launch directory.

#include <string>

namespace vork {

// Resolved at the first call and kept for the run.
const std::string& MediaDirectory();
// Resolved afresh at every call.
std::string UsersDirectory();

// The process's current directory when the player started (fixed at the
// first call, which start-up makes before EnterMediaDirectory).
const std::string& LaunchDirectory();
// path made absolute against the launch directory; "" and absolute paths are
// returned as they are. File names from the command line go through it.
std::string FromLaunchDirectory(const std::string& path);

// Makes the media directory, when it exists, the process's current
// directory, so that the bare file names a course uses (a file to delete, a
// recording's target, the letter sounds) are found in it. Path-valued
// environment variables that are relative are made absolute first, since
// they meant the launch directory.
void EnterMediaDirectory();

// Where the player keeps what belongs to the learner rather than to a course
// ($XDG_CONFIG_HOME/kestrova, else ~/.config/kestrova); created on demand.
std::string PlayerConfigDirectory();

}  // namespace vork
