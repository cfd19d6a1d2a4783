#include "install/install_leftovers.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <system_error>

namespace vork {
namespace {

namespace fs = std::filesystem;

bool IsWorkFolderName(std::string_view name) {
  constexpr std::string_view prefix = ".~install-";
  return name.size() == prefix.size() + 6 && name.substr(0, prefix.size()) == prefix;
}

bool IsDownloadName(std::string_view name) {
  constexpr std::string_view suffix = ".tmp";
  if (name.size() <= 1 + suffix.size() || name.front() != '~') return false;
  if (name.substr(name.size() - suffix.size()) != suffix) return false;
  const std::string_view digits = name.substr(1, name.size() - 1 - suffix.size());
  return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Field 22 of /proc/self/stat (clock ticks after boot), after the command
// name, which may itself hold blanks and parentheses.
long long StartTicks() {
  std::ifstream in("/proc/self/stat");
  std::string line;
  std::getline(in, line);
  const size_t end_of_name = line.rfind(')');
  if (end_of_name == std::string::npos) return -1;
  std::istringstream fields(line.substr(end_of_name + 2));
  std::string field;
  for (int index = 3; index <= 22 && fields >> field; ++index)
    if (index == 22) return std::stoll(field);
  return -1;
}

long long BootTime() {
  std::ifstream in("/proc/stat");
  std::string key;
  long long value = 0;
  while (in >> key) {
    if (key == "btime" && in >> value) return value;
    in.ignore(1 << 16, '\n');
  }
  return -1;
}

}  // namespace

std::time_t ProcessStartTime() {
  const long long ticks = StartTicks();
  const long long boot = BootTime();
  const long ticks_per_second = ::sysconf(_SC_CLK_TCK);
  if (ticks < 0 || boot < 0 || ticks_per_second <= 0) return std::time(nullptr);
  return static_cast<std::time_t>(boot + ticks / ticks_per_second);
}

int RemoveInstallLeftovers(const std::string& folder, std::time_t not_after) {
  int removed = 0;
  std::error_code error;
  for (auto it = fs::directory_iterator(folder, error); !error && it != fs::directory_iterator();
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    struct stat info {};
    if (::lstat(it->path().c_str(), &info) != 0 || info.st_mtime >= not_after) continue;
    const bool leftover = (S_ISDIR(info.st_mode) && IsWorkFolderName(name)) ||
                          (S_ISREG(info.st_mode) && IsDownloadName(name));
    std::error_code ignored;
    if (leftover && fs::remove_all(it->path(), ignored) > 0) ++removed;
  }
  return removed;
}

}  // namespace vork
