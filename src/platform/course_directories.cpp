#include "platform/course_directories.h"

#include <cstdlib>
#include <filesystem>

#include "platform/ini_file.h"
#include "platform/program_location.h"

namespace vork {

namespace {

// Relative settings are anchored where the player was started, not where the
// process happens to stand when they are read: the media directory becomes
// the current directory, and the users directory is read afresh later on.
std::string SettingsDirectory(const char* key, const char* fallback) {
  IniFile ini = IniFile::Load(ProgramPathWithoutExtension() + ".ini");
  std::string value = ini.Get("Settings", key).substr(0, 1024);
  if (!value.empty() && (value.back() == '\\' || value.back() == '/')) value.pop_back();
  if (value.empty()) return ProgramDirectory() + "/" + fallback;
  return FromLaunchDirectory(value);
}

// Environment variables that name files or folders for the player or the
// libraries it runs; a relative value meant the launch directory.
constexpr const char* kPathVariables[] = {
    "VORK_LOG",       "VORK_PRINT_PDF", "VORK_REGISTRY",   "VORK_SCREENSHOTS",
    "TMPDIR",         "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "HOME",
};

void AnchorPathVariables() {
  for (const char* name : kPathVariables) {
    const char* value = std::getenv(name);
    if (value && *value && *value != '/') ::setenv(name, FromLaunchDirectory(value).c_str(), 1);
  }
}

}  // namespace

const std::string& LaunchDirectory() {
  static const std::string launch = [] {
    std::error_code error;
    auto current = std::filesystem::current_path(error);
    return error ? std::string(".") : current.string();
  }();
  return launch;
}

std::string FromLaunchDirectory(const std::string& path) {
  if (path.empty() || path.front() == '/') return path;
  return (std::filesystem::path(LaunchDirectory()) / path).lexically_normal().string();
}

const std::string& MediaDirectory() {
  static const std::string media = SettingsDirectory("MediaDir", "media");
  return media;
}

std::string UsersDirectory() { return SettingsDirectory("UsersDir", "users"); }

void EnterMediaDirectory() {
  AnchorPathVariables();
  std::error_code error;
  if (!std::filesystem::is_directory(MediaDirectory(), error)) return;
  std::filesystem::current_path(MediaDirectory(), error);
}

std::string PlayerConfigDirectory() {
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
    base = config;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::string(home) + "/.config";
  } else {
    base = std::filesystem::temp_directory_path().string();
  }
  std::string dir = base + "/kestrova";
  std::error_code ignored;
  std::filesystem::create_directories(dir, ignored);
  return dir;
}

}  // namespace vork
