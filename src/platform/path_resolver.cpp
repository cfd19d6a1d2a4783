#include "platform/path_resolver.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>

#include "platform/cp1252.h"

namespace vork {

namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

// The entry of folder whose name equals component without regard to case.
std::optional<std::string> FindIgnoringCase(const std::string& folder, std::string_view component) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return std::nullopt;
  std::optional<std::string> best;
  bool high = std::any_of(component.begin(), component.end(),
                          [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  while (const dirent* entry = ::readdir(dir)) {
    std::string_view entry_name = entry->d_name;
    // Course names are Windows-1252; files unpacked on Linux usually have
    // UTF-8 names.
    bool matches = EqualsIgnoreCase(entry_name, component) ||
                   (high && EqualsIgnoreCase(Utf8ToCp1252(entry_name), component));
    if (matches && (!best || entry_name < *best))
      best = std::string(entry_name);
  }
  ::closedir(dir);
  return best;
}

std::string Join(const std::string& folder, std::string_view component) {
  if (folder.empty()) return std::string(component);
  if (folder.back() == '/') return folder + std::string(component);
  return folder + "/" + std::string(component);
}

}  // namespace

std::string WithForwardSlashes(std::string_view name) {
  std::string result(name);
  for (char& c : result)
    if (c == '\\') c = '/';
  return result;
}

std::string ResolveCoursePath(std::string_view directory, std::string_view name) {
  std::string rest = WithForwardSlashes(name);
  std::string resolved(directory);
  bool matching = true;  // false once a component is missing: the rest is joined as given
  size_t start = 0;
  while (start <= rest.size()) {
    size_t slash = rest.find('/', start);
    if (slash == std::string::npos) slash = rest.size();
    std::string_view component(rest.data() + start, slash - start);
    start = slash + 1;
    if (component.empty() || component == ".") continue;
    std::string exact = Join(resolved, component);
    if (matching && !Exists(exact) && component != "..") {
      if (auto found = FindIgnoringCase(resolved, component)) {
        resolved = Join(resolved, *found);
        continue;
      }
      matching = false;
    }
    resolved = std::move(exact);
  }
  return resolved;
}

std::string ResolveCoursePath(std::string_view path) {
  std::string forward = WithForwardSlashes(path);
  if (!forward.empty() && forward.front() == '/') return ResolveCoursePath("/", forward.substr(1));
  return ResolveCoursePath("", forward);
}

bool CourseFileExists(std::string_view directory, std::string_view name) {
  if (name.empty()) return false;
  struct stat info;
  return ::stat(ResolveCoursePath(directory, name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace vork
