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

std::string CheckedFileBase(const std::string& directory, const std::string& name) {
  if (!IsSafeUserFileName(name)) {
    throw EVkError("Invalid user name \"" + name + "\": a user name must not be empty, \".\" or "
                   "\"..\" and must not hold \"/\", \"\\\" or control characters");
  }
  return UserFileBase(directory, name);
}

// Called with the lock held, so no other writer of the file can be busy.
std::string SettingsFileAfterCleanUp(const std::string& path) {
  std::string file = path + ".vkr";
  RemoveLeftoverTemporaryFiles(file);
  return file;
}

}  // namespace

TVkUser::TVkUser(std::string name, std::string directory)
    : name_(std::move(name)),
      directory_(WithoutTrailingSlash(std::move(directory))),
      file_base_(CheckedFileBase(directory_, name_)),
      lock_(Path() + ".lck"),
      settings_(SettingsFileAfterCleanUp(Path())) {}

}  // namespace vork
