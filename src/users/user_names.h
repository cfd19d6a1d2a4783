#pragma once
// User names: how they are shown and which names may name a user's files.

#include <string>
#include <string_view>

namespace vork {

// The form in which a typed or listed name is shown and stored: spaces
// normalised; an all-capitals name in lower case; the first letter capital.
std::string UserDisplayName(std::string_view text);

// True when the name can name a user's files inside the users directory:
// not empty, not "." or "..", no "/" or "\" and no control byte. Anything
// else could place the files outside that directory or cut the path short.
bool IsSafeUserFileName(std::string_view name);

// True when a new user may take this name: it holds no "." and the file
// users_directory/name.tmp can be created and deleted.
bool IsValidUserName(std::string_view name, const std::string& users_directory);

}  // namespace vork
