#include "users/user.h"

#include "platform/errors.h"
#include "platform/ini_file.h"
#include "users/user_list.h"
#include "users/user_names.h"

namespace vork {

namespace {

std::string WithoutTrailingSlash(std::string directory) {
  if (directory.empty()) throw EVkError("No users directory given");
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  return directory;
}

UserStore CheckedStore(const std::string& directory, const std::string& name) {
  if (!IsSafeUserFileName(name)) {
    throw EVkError("Invalid user name \"" + name + "\": a user name must not be empty, \".\" or "
                   "\"..\" and must not hold \"/\", \"\\\" or control characters");
  }
  return FindUserStore(directory, name);
}

// Called with the lock held, so no other writer of the file can be busy.
std::string SettingsFileAfterCleanUp(const std::string& directory, const UserStore& store) {
  std::string file = directory + "/" + store.file;
  RemoveLeftoverTemporaryFiles(file);
  return file;
}

}  // namespace

TVkUser::TVkUser(std::string name, std::string directory)
    : name_(std::move(name)),
      directory_(WithoutTrailingSlash(std::move(directory))),
      store_(CheckedStore(directory_, name_)),
      lock_(Path() + ".lck"),
      settings_(SettingsFileAfterCleanUp(directory_, store_)) {}

}  // namespace vork
