#include "platform/course_directories.h"

#include <cstdlib>
#include <filesystem>

#include "platform/ini_file.h"
#include "platform/program_location.h"

namespace vork {

namespace {

std::string SettingsDirectory(const char* key, const char* fallback) {
  IniFile ini = IniFile::Load(ProgramPathWithoutExtension() + ".ini");
  std::string value = ini.Get("Settings", key).substr(0, 1024);
  if (!value.empty() && (value.back() == '\\' || value.back() == '/')) value.pop_back();
  if (value.empty()) return ProgramDirectory() + "/" + fallback;
  return value;
}

}  // namespace

const std::string& MediaDirectory() {
  static const std::string media = SettingsDirectory("MediaDir", "media");
  return media;
}

std::string UsersDirectory() { return SettingsDirectory("UsersDir", "users"); }

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
