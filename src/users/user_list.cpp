#include "users/user_list.h"

#include <algorithm>
#include <filesystem>

#include "platform/cp1252.h"
#include "users/user_names.h"

namespace vork {

namespace {

constexpr std::string_view kSettingsExtension = ".vkr";

// Base names of the settings files in directory, in directory order.
std::vector<std::string> SettingsFileBases(const std::string& directory) {
  namespace fs = std::filesystem;
  std::vector<std::string> bases;
  std::error_code error;
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    std::string file = it->path().filename().string();
    if (file.size() <= kSettingsExtension.size() || file.front() == '.' ||
        !file.ends_with(kSettingsExtension)) {
      continue;
    }
    std::error_code status_error;
    if (!it->is_regular_file(status_error)) continue;
    bases.push_back(file.substr(0, file.size() - kSettingsExtension.size()));
  }
  return bases;
}

}  // namespace

std::vector<std::string> ListUsers(const std::string& directory) {
  std::vector<std::string> names;
  for (const std::string& base : SettingsFileBases(directory)) names.push_back(UserDisplayName(base));
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    int order = CompareIgnoreCase(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  return names;
}

bool IsListedUser(const std::string& directory, std::string_view name) {
  auto names = ListUsers(directory);
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& listed) { return EqualsIgnoreCase(listed, name); });
}

std::string UserFileBase(const std::string& directory, const std::string& name) {
  std::vector<std::string> matches;
  for (std::string& base : SettingsFileBases(directory)) {
    if (base == name) return name;
    if (EqualsIgnoreCase(base, name)) matches.push_back(std::move(base));
  }
  if (matches.empty()) return name;
  return *std::min_element(matches.begin(), matches.end());
}

}  // namespace vork
