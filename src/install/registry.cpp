#include "install/registry.h"

#include <charconv>
#include <cstdlib>
#include <exception>

#include "platform/course_directories.h"

namespace vork {

std::string RegistryPath() {
  if (const char* configured = std::getenv("VORK_REGISTRY"); configured && *configured)
    return configured;
  return PlayerConfigDirectory() + "/registry.ini";
}

TVkRegistry::TVkRegistry(std::string path)
    : path_(std::move(path)), values_(IniFile::Load(path_)) {}

TVkRegistry::TVkRegistry(std::string path, IniFile values)
    : path_(std::move(path)), values_(std::move(values)) {}

TVkRegistry TVkRegistry::FromText(std::string_view text) {
  return TVkRegistry(std::string(), IniFile::Parse(text));
}

std::optional<int32_t> TVkRegistry::ReadInteger(std::string_view key, std::string_view name) const {
  if (!values_.Has(key, name)) return std::nullopt;
  const std::string text = values_.Get(key, name);
  int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || text.empty()) return std::nullopt;
  return value;
}

std::string TVkRegistry::ReadString(std::string_view key, std::string_view name) const {
  return values_.Get(key, name);
}

std::string TVkRegistry::ReadDefault(std::string_view key) const { return values_.Get(key, "@"); }

void TVkRegistry::WriteInteger(std::string_view key, std::string_view name, int32_t value) {
  values_.Set(key, name, std::to_string(value));
}

bool TVkRegistry::Save() const {
  if (path_.empty()) return false;
  try {
    values_.Save(path_);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace vork
