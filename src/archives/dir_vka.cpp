#include "archives/dir_vka.h"

#include "archives/file_stream.h"
#include "platform/folder_names.h"
#include "platform/path_resolver.h"

namespace vork {

TVkDirVka::TVkDirVka(std::string directory) : directory_(std::move(directory)) {
  while (directory_.size() > 1 && directory_.back() == '/') directory_.pop_back();
}

std::string TVkDirVka::Locate(std::string_view name) {
  return Exists(name) ? ResolveCoursePath(directory_, name) : std::string();
}

std::vector<std::string> TVkDirVka::Names() { return FolderNames(directory_); }

std::unique_ptr<TKsStream> TVkDirVka::Open(std::string_view name) {
  return std::make_unique<TKsFileStream>(ResolveCoursePath(directory_, name));
}

bool TVkDirVka::Exists(std::string_view name) { return CourseFileExists(directory_, name); }

}  // namespace vork
