#include "archives/dir_vka.h"

#include <dirent.h>

#include <algorithm>

#include "archives/file_stream.h"
#include "platform/path_resolver.h"

namespace vork {

TVkDirVka::TVkDirVka(std::string directory) : directory_(std::move(directory)) {
  while (directory_.size() > 1 && directory_.back() == '/') directory_.pop_back();
}

std::string TVkDirVka::Locate(std::string_view name) {
  return Exists(name) ? ResolveCoursePath(directory_, name) : std::string();
}

std::vector<std::string> TVkDirVka::Names() {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(directory_.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      std::string_view name = entry->d_name;
      if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::unique_ptr<TKsStream> TVkDirVka::Open(std::string_view name) {
  return std::make_unique<TKsFileStream>(ResolveCoursePath(directory_, name));
}

bool TVkDirVka::Exists(std::string_view name) { return CourseFileExists(directory_, name); }

}  // namespace vork
