#include "platform/folder_names.h"

#include <dirent.h>

#include <algorithm>

#include "platform/cp1252.h"

namespace vork {

namespace {

bool HasHighBytes(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

bool SameNameIgnoringCase(std::string_view on_disk, std::string_view wanted) {
  return EqualsIgnoreCase(on_disk, wanted) ||
         (HasHighBytes(wanted) && EqualsIgnoreCase(Utf8ToCp1252(on_disk), wanted));
}

std::vector<std::string> FindIgnoringCase(const std::string& folder, std::string_view wanted) {
  std::vector<std::string> names = FolderNames(folder);
  std::erase_if(names, [wanted](const std::string& name) { return !SameNameIgnoringCase(name, wanted); });
  return names;
}

}  // namespace vork
