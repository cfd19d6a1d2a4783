#include "users/user_names.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "text/normalize.h"
#include "platform/cp1252.h"

namespace vork {

std::string UserDisplayName(std::string_view text) {
  std::string name = NormalizeSpaces(text);
  if (name == UpperCase(name)) name = LowerCase(name);
  if (!name.empty()) name[0] = UpperCp1252(name[0]);
  return name;
}

bool IsSafeUserFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 32) return false;
  }
  return true;
}

bool IsValidUserName(std::string_view name, const std::string& users_directory) {
  if (name.find('.') != std::string_view::npos || !IsSafeUserFileName(name)) return false;
  std::string probe = users_directory + "/" + std::string(name) + ".tmp";
  int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  // Somebody else's probe of the same name proves the name can be created;
  // that file is not ours to delete.
  if (fd < 0) return errno == EEXIST;
  ::close(fd);
  return ::unlink(probe.c_str()) == 0;
}

}  // namespace vork
