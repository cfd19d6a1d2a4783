#include "platform/program_location.h"

#include <filesystem>
#include <system_error>

namespace vork {

namespace {

std::string ExecutablePath() {
  std::error_code error;
  auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

std::string& StoredPath() {
  static std::string path = ExecutablePath();
  return path;
}

size_t LastSlash(const std::string& path) { return path.rfind('/'); }

}  // namespace

void SetProgramPath(const std::string& path) {
  std::error_code error;
  auto absolute = std::filesystem::absolute(path, error);
  StoredPath() = error ? path : absolute.lexically_normal().string();
}

const std::string& ProgramPath() { return StoredPath(); }

std::string ProgramDirectory() { return DirectoryOf(ProgramPath()); }

std::string ProgramName() { return WithoutExtension(FileNameOf(ProgramPath())); }

std::string ProgramPathWithoutExtension() { return WithoutExtension(ProgramPath()); }

std::string DirectoryOf(const std::string& path) {
  size_t slash = LastSlash(path);
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  size_t slash = LastSlash(path);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionOf(const std::string& path) {
  size_t slash = LastSlash(path);
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot);
}

std::string WithoutExtension(const std::string& path) {
  return path.substr(0, path.size() - ExtensionOf(path).size());
}

}  // namespace vork
