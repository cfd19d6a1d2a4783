// Any bytes as a downloaded part archive, unpacked into a fresh course
// folder: whatever the archive holds, nothing may appear beside that folder,
// no link, hidden file or executable file may be created, nothing under
// "users", and the player must not crash.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "install/extract_archive.h"

namespace fs = std::filesystem;

namespace {

// Everything below root must be a plain file or folder, and root must hold
// only the archive and the course folder.
bool Contained(const fs::path& root, const fs::path& course) {
  for (const auto& entry : fs::directory_iterator(root))
    if (entry.path() != course && entry.path().filename() != "part.rar") return false;
  const auto execute = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  for (const auto& entry : fs::recursive_directory_iterator(course)) {
    if (entry.is_symlink() || (!entry.is_regular_file() && !entry.is_directory())) return false;
    if (entry.is_regular_file() && (entry.status().permissions() & execute) != fs::perms::none)
      return false;
    const std::string first = entry.path().lexically_relative(course).begin()->string();
    if (first.front() == '.' || first == "users" || first == "Users") return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string pattern = fs::temp_directory_path().string() + "/vork-fuzz-rar-XXXXXX";
  if (!::mkdtemp(pattern.data())) return 0;
  const fs::path root = pattern;
  const fs::path course = root / "course";
  fs::create_directory(course);
  {
    std::ofstream out(root / "part.rar", std::ios::binary);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  vork::ExtractArchive((root / "part.rar").string(), course.string());
  const bool contained = Contained(root, course);
  std::error_code ignored;
  fs::remove_all(root, ignored);
  if (!contained) __builtin_trap();
  return 0;
}
