#include "install/zentor_settings.h"

#include <limits>

#include "install/registry.h"

namespace vork {
namespace {

constexpr char kUsageKey[] = "HKEY_CURRENT_USER\\Software\\Zentor Learning Solutions\\Zentor\\Zentor Usage";
constexpr char kPositionKey[] =
    "HKEY_CURRENT_USER\\Software\\Zentor Learning Solutions\\Zentor\\Window Position";

struct Field {
  const char* key;
  const char* name;
  int32_t TVkZentorSettings::*value;
};

constexpr Field kFields[] = {
    {kUsageKey, "Alwaysontop", &TVkZentorSettings::always_on_top},
    {kUsageKey, "Window Size", &TVkZentorSettings::window_size},
    {kPositionKey, "VideoWindowX", &TVkZentorSettings::video_x},
    {kPositionKey, "VideoWindowY", &TVkZentorSettings::video_y},
    {kPositionKey, "SmallWindowX", &TVkZentorSettings::small_x},
    {kPositionKey, "SmallWindowY", &TVkZentorSettings::small_y},
};

}  // namespace

bool TVkZentorSettings::Read(const TVkRegistry& registry) {
  for (const Field& field : kFields) {
    const auto value = registry.ReadInteger(field.key, field.name);
    if (!value || *value == std::numeric_limits<int32_t>::max()) return false;
    this->*field.value = *value;
  }
  return true;
}

bool TVkZentorSettings::Write(TVkRegistry& registry) const {
  for (const Field& field : kFields) registry.WriteInteger(field.key, field.name, this->*field.value);
  return registry.Save();
}

}  // namespace vork
