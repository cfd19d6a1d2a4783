#include "users/user_list.h"

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "platform/cp1252.h"
#include "platform/folder_names.h"
#include "users/user_names.h"

namespace vork {

namespace {

constexpr std::string_view kSettingsExtension = ".vkr";

// The extension is matched without regard to case: stores copied from a
// case-insensitive disk often arrive as "MARY.VKR".
bool IsSettingsFileName(std::string_view file) {
  return file.size() > kSettingsExtension.size() && file.front() != '.' &&
         EqualsIgnoreCase(file.substr(file.size() - kSettingsExtension.size()), kSettingsExtension);
}

// The settings files of directory, in byte order.
std::vector<UserStore> SettingsFiles(const std::string& directory) {
  std::vector<UserStore> stores;
  for (std::string& file : FolderNames(directory)) {
    if (!IsSettingsFileName(file)) continue;
    std::error_code status_error;
    if (!std::filesystem::is_regular_file(directory + "/" + file, status_error)) continue;
    std::string base = file.substr(0, file.size() - kSettingsExtension.size());
    stores.push_back({std::move(base), std::move(file)});
  }
  return stores;
}

// Which of several stores that name one learner is theirs: the base spelt as
// the name was given, then the lower-case extension, then the first file name
// in byte order. The choice never depends on the order of a folder listing,
// so every player and every save picks the same file.
auto StorePreference(const UserStore& store, const std::string& name) {
  return std::make_tuple(store.base != name, !store.file.ends_with(kSettingsExtension), store.file);
}

}  // namespace

std::vector<std::string> ListUsers(const std::string& directory) {
  std::vector<std::string> names;
  for (const UserStore& store : SettingsFiles(directory)) names.push_back(UserDisplayName(store.base));
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    int order = CompareIgnoreCase(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  // Stores that differ only by letter case open as one learner, so they are
  // listed once, under the first spelling in the order above.
  names.erase(std::unique(names.begin(), names.end(), EqualsIgnoreCase), names.end());
  return names;
}

bool IsListedUser(const std::string& directory, std::string_view name) {
  auto names = ListUsers(directory);
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& listed) { return EqualsIgnoreCase(listed, name); });
}

UserStore FindUserStore(const std::string& directory, const std::string& name) {
  std::vector<UserStore> matches = SettingsFiles(directory);
  std::erase_if(matches, [&](const UserStore& store) { return !SameNameIgnoringCase(store.base, name); });
  if (matches.empty()) return {name, name + std::string(kSettingsExtension)};
  return *std::min_element(matches.begin(), matches.end(), [&](const UserStore& a, const UserStore& b) {
    return StorePreference(a, name) < StorePreference(b, name);
  });
}

}  // namespace vork
