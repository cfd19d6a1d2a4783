#pragma once
// The media and users directories of the running course, from the settings
// file beside the program (its name with ".ini"; section "Settings", keys
// "MediaDir" and "UsersDir"), defaulting to "media" and "users" beside the
// program. A value is read up to 1,024 characters and loses one trailing
// separator.

#include <string>

namespace vork {

// Resolved at the first call and kept for the run.
const std::string& MediaDirectory();
// Resolved afresh at every call.
std::string UsersDirectory();

// Where the player keeps what belongs to the learner rather than to a course
// ($XDG_CONFIG_HOME/kestrova, else ~/.config/kestrova); created on demand.
std::string PlayerConfigDirectory();

}  // namespace vork
