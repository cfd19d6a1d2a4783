#include "platform/path_resolver.h"

#include <sys/stat.h>

#include <vector>

#include "platform/folder_names.h"

namespace vork {

namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
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
      const std::vector<std::string> found = FindIgnoringCase(resolved.empty() ? "." : resolved, component);
      if (!found.empty()) {
        resolved = Join(resolved, found.front());
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
