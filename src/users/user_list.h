#pragma once
// The users of a users directory: one settings file "<name>.vkr" each.

#include <string>
#include <string_view>
#include <vector>

namespace vork {

// Display names (UserDisplayName) of the users in directory, sorted ignoring
// case; empty when the directory does not exist. Hidden files, folders and
// the temporary files of an interrupted save are not users.
std::vector<std::string> ListUsers(const std::string& directory);

// True when name is among ListUsers(directory), ignoring case.
bool IsListedUser(const std::string& directory, std::string_view name);

// The spelling under which user name's files are stored in directory: the
// base name of an existing "<base>.vkr" that equals name ignoring case (the
// exact spelling preferred), else name itself. User names were
// case-insensitive where the courses were made; without this a learner who
// types "mary" would get a new, empty user beside "Mary".
std::string UserFileBase(const std::string& directory, const std::string& name);

}  // namespace vork
