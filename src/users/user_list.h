#pragma once
// The users of a users directory: one settings file "<name>.vkr" each, its
// extension in any letter case.

#include <string>
#include <string_view>
#include <vector>

namespace vork {

// Display names (UserDisplayName) of the users in directory, sorted ignoring
// case, each learner once; empty when the directory does not exist. Hidden
// files, folders and the temporary files of an interrupted save are not
// users.
std::vector<std::string> ListUsers(const std::string& directory);

// True when name is among ListUsers(directory), ignoring case.
bool IsListedUser(const std::string& directory, std::string_view name);

// A learner's settings store in a users directory: the file name and that
// name without its extension (which the learner's lock file shares).
struct UserStore {
  std::string base;
  std::string file;
};

// The store of user name in directory: an existing "<base>.vkr" whose base
// equals name ignoring case, its extension in any case, else name + ".vkr".
// User names were case-insensitive where the courses were made; without this
// a learner who types "mary", or whose store was copied as "MARY.VKR", would
// get a new, empty store beside the old one. Among several matching stores
// the choice is fixed: the base spelt exactly as name, then the extension in
// lower case, then the first file name in byte order.
UserStore FindUserStore(const std::string& directory, const std::string& name);

}  // namespace vork
