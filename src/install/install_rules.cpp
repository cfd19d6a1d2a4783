#include "install/install_rules.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "install/unpack_names.h"
#include "platform/course_directories.h"
#include "platform/program_location.h"

namespace vork {
namespace {

namespace fs = std::filesystem;

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lowered;
}

std::vector<std::string_view> Components(std::string_view path) {
  std::vector<std::string_view> parts;
  while (!path.empty()) {
    const size_t slash = path.find('/');
    parts.push_back(path.substr(0, slash));
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return parts;
}

bool IsAtOrBelow(std::string_view path, std::string_view folder) {
  if (folder.empty() || path.size() < folder.size()) return false;
  return path.substr(0, folder.size()) == folder &&
         (path.size() == folder.size() || path[folder.size()] == '/');
}

bool HasControlCharacter(std::string_view name) {
  return std::any_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
  });
}

// "libx.so", "libx.so.1", "libx.so.1.2": what the dynamic loader picks up.
bool IsSharedLibraryName(std::string_view file_name) {
  for (size_t at = file_name.find(".so"); at != std::string_view::npos;
       at = file_name.find(".so", at + 1)) {
    const std::string_view rest = file_name.substr(at + 3);
    if (rest.empty()) return true;
    if (rest.front() == '.' && rest.find_first_not_of(".0123456789") == std::string_view::npos)
      return true;
  }
  return false;
}

// path relative to the course folder, or "" when it lies elsewhere.
std::string InsideCourse(const fs::path& path, const fs::path& course) {
  std::error_code error;
  const fs::path relative = fs::weakly_canonical(path, error).lexically_relative(course);
  if (error || relative.empty() || *relative.begin() == "..") return {};
  return relative.generic_string();
}

std::optional<std::string> NameRefusal(const InstallRules& rules, const PartEntry& entry) {
  if (HasControlCharacter(entry.name)) return "its name holds control characters";
  const std::optional<std::string> relative = SafeRelativePath(entry.name);
  if (!relative) return "its name leads outside the course folder";
  const std::string lowered = Lowered(*relative);
  const auto components = Components(lowered);
  for (std::string_view component : components)
    if (component.front() == '.') return "it is a hidden file or folder";
  for (const std::string& folder : rules.protected_folders)
    if (IsAtOrBelow(lowered, Lowered(folder))) return "it belongs to the learners' data";
  for (const std::string& file : rules.protected_files)
    if (lowered == Lowered(file)) return "it would replace the course's program or settings";
  if (IsSharedLibraryName(components.back())) return "it is a program library";
  return std::nullopt;
}

}  // namespace

InstallRules CourseInstallRules(const std::string& course_folder) {
  std::error_code error;
  const fs::path course = fs::weakly_canonical(course_folder, error);
  InstallRules rules;
  if (std::string users = InsideCourse(UsersDirectory(), course); !users.empty())
    rules.protected_folders.push_back(users);
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  for (const fs::path& path : {fs::path(ProgramPath()), fs::path(ProgramPathWithoutExtension() + ".ini"),
                               executable}) {
    if (std::string relative = InsideCourse(path, course); !relative.empty())
      rules.protected_files.push_back(relative);
  }
  return rules;
}

bool LooksLikeProgram(std::string_view head) {
  return head.substr(0, 4) == std::string_view("\x7f" "ELF", 4) || head.substr(0, 2) == "#!";
}

std::optional<std::string> RefusalReason(const InstallRules& rules, const PartEntry& entry) {
  if (std::optional<std::string> reason = NameRefusal(rules, entry)) return reason;
  switch (entry.kind) {
    case PartEntryKind::Link: return "it is a link";
    case PartEntryKind::Other: return "it is a device or another special file";
    case PartEntryKind::Folder: return std::nullopt;
    case PartEntryKind::File: break;
  }
  if ((entry.mode & 0111) != 0) return "it is marked executable";
  if (LooksLikeProgram(entry.head)) return "it is a program";
  return std::nullopt;
}

std::optional<Refusal> RefusedEntry(const InstallRules& rules, const std::vector<PartEntry>& entries) {
  for (const PartEntry& entry : entries)
    if (std::optional<std::string> reason = RefusalReason(rules, entry))
      return Refusal{entry.name, *reason};
  return std::nullopt;
}

}  // namespace vork
