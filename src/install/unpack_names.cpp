#include "install/unpack_names.h"

namespace vork {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool HasDriveLetter(std::string_view name) {
  if (name.size() < 2 || name[1] != ':') return false;
  const char letter = name[0];
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

}  // namespace

std::optional<std::string> SafeRelativePath(std::string_view name) {
  if (name.empty() || IsSeparator(name.front()) || HasDriveLetter(name)) return std::nullopt;
  if (name.find('\0') != std::string_view::npos) return std::nullopt;
  std::string path;
  while (!name.empty()) {
    size_t end = 0;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    const std::string_view component = name.substr(0, end);
    name.remove_prefix(end < name.size() ? end + 1 : end);
    if (component.empty() || component == ".") continue;
    if (component == "..") return std::nullopt;
    if (!path.empty()) path += '/';
    path += component;
  }
  if (path.empty()) return std::nullopt;
  return path;
}

}  // namespace vork
