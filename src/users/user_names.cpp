#include "users/user_names.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/cp1252.h"

namespace vork {

namespace {

bool IsSpaceOrControl(char c) { return static_cast<unsigned char>(c) < 33; }

// Trims bytes below 33 at both ends and reduces every inner run of them to
// the run's last byte.
std::string NormalizeSpaces(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (!IsSpaceOrControl(c)) {
      out += c;
    } else if (!out.empty() && i + 1 < text.size() && !IsSpaceOrControl(text[i + 1])) {
      out += c;  // the last byte of an inner run
    }
  }
  return out;
}

}  // namespace

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
