#include "resources/archive_parts.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include "platform/cp1252.h"
#include "platform/folder_names.h"
#include "platform/program_location.h"

namespace vork {

namespace {

bool IsPartExtension(std::string_view extension) {
  if (EqualsIgnoreCase(extension, ".vka")) return true;
  return extension.size() == 4 && EqualsIgnoreCase(extension.substr(0, 2), ".x") &&
         std::isdigit(static_cast<unsigned char>(extension[2])) &&
         std::isdigit(static_cast<unsigned char>(extension[3])) && extension.substr(2) != "00";
}

bool IsKind(const std::string& path, PartKind kind) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return false;
  return kind == PartKind::Directories ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode);
}

}  // namespace

std::vector<std::string> FindArchiveParts(const std::string& base, PartKind kind) {
  std::string folder = DirectoryOf(base);
  std::string stem = FileNameOf(base);
  std::vector<std::string> parts;
  for (const std::string& name : FolderNames(folder)) {
    if (name.size() < 4) continue;
    const std::string_view name_stem = std::string_view(name).substr(0, name.size() - 4);
    if (!IsPartExtension(std::string_view(name).substr(name_stem.size())) || !SameNameIgnoringCase(name_stem, stem))
      continue;
    std::string path = (folder == "/" ? "" : folder) + "/" + name;
    if (IsKind(path, kind)) parts.push_back(std::move(path));
  }
  std::sort(parts.begin(), parts.end(), LessIgnoreCase());
  return parts;
}

bool ArePartsUsable(const std::vector<std::string>& parts) {
  return !parts.empty() && EqualsIgnoreCase(ExtensionOf(parts.front()), ".vka");
}

std::string DirectoryBase(const std::string& program_path) {
  size_t at = FindIgnoreCase(program_path, ".img/");
  // Lower-casing keeps the length, so the prefix of the path as written is
  // the base; the lower-cased text may not exist on a case-sensitive disk.
  return at == std::string::npos ? std::string() : program_path.substr(0, at);
}

}  // namespace vork
