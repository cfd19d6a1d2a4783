#include "platform/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/errors.h"
#include "platform/fault_injection.h"

namespace vork {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// The temporary files of a write of path are named this followed by digits.
std::string TemporaryStem(const std::string& path) { return path + ".tmp"; }

// Gives the new file on fd what the file it replaces had: on a computer
// where several accounts share a folder, an administrator sets a store's
// group and mode once, and a save by whichever account must not take that
// back. The owner and group stay when this process may set them (the owner
// only ever for root); a file that is new keeps what the umask gave it.
void TakeOverAttributes(int fd, const std::string& replaced) {
  struct stat old {};
  if (::stat(replaced.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return;
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    [[maybe_unused]] int ignored = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  [[maybe_unused]] int ignored = ::fchmod(fd, old.st_mode & 0777);
}

}  // namespace

IniFile IniFile::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return Parse(text.str());
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  std::string section;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = std::string(line.substr(1, line.size() - 2));
      ini.sections_[section];
      continue;
    }
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    ini.Set(section, Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
  }
  return ini;
}

std::string IniFile::Get(std::string_view section, std::string_view name,
                         std::string_view fallback) const {
  auto s = sections_.find(section);
  if (s == sections_.end()) return std::string(fallback);
  auto e = s->second.find(name);
  return e == s->second.end() ? std::string(fallback) : e->second;
}

bool IniFile::Has(std::string_view section, std::string_view name) const {
  auto s = sections_.find(section);
  return s != sections_.end() && s->second.find(name) != s->second.end();
}

bool IniFile::HasSection(std::string_view section) const {
  return sections_.find(section) != sections_.end();
}

void IniFile::Set(std::string_view section, std::string_view name, std::string_view value) {
  auto& entries = sections_[std::string(section)];
  auto e = entries.find(name);
  if (e == entries.end()) entries.emplace(std::string(name), std::string(value));
  else e->second = std::string(value);
}

void IniFile::Remove(std::string_view section, std::string_view name) {
  auto s = sections_.find(section);
  if (s == sections_.end()) return;
  auto e = s->second.find(name);
  if (e != s->second.end()) s->second.erase(e);
}

std::string IniFile::Text() const {
  std::string text;
  for (const auto& [section, entries] : sections_) {
    if (!text.empty()) text += '\n';
    text += '[' + section + "]\n";
    for (const auto& [name, value] : entries) text += name + '=' + value + '\n';
  }
  return text;
}

void IniFile::Save(const std::string& path) const { WriteFileAtomically(path, Text()); }

void WriteFileAtomically(const std::string& path, std::string_view data) {
  auto fail = [&](const char* what, int error) {
    throw EVkError(std::string("Cannot ") + what + " \"" + path + "\": " + std::strerror(error));
  };
  static thread_local std::mt19937 names(std::random_device{}());
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = TemporaryStem(path) + std::to_string(names() % 1000000);
    fd = FileOperationFails() ? -1 : ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) fail("write", errno);
  }
  if (fd < 0) fail("write", EEXIST);
  TakeOverAttributes(fd, path);
  const char* p = data.data();
  size_t left = data.size();
  while (left > 0) {
    ssize_t n = FileOperationFails() ? -1 : ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      ::close(fd);
      ::unlink(temp.c_str());
      fail("write", error);
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  int error = !FileOperationFails() && ::fsync(fd) == 0 ? 0 : errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    fail("write", error);
  }
  if (FileOperationFails() || ::rename(temp.c_str(), path.c_str()) != 0) {
    error = errno;
    ::unlink(temp.c_str());
    fail("replace", error);
  }
}

void RemoveLeftoverTemporaryFiles(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  const std::string stem = TemporaryStem(target.filename().string());
  std::error_code error;
  for (fs::directory_iterator it(target.parent_path().empty() ? "." : target.parent_path(), error), end;
       !error && it != end; it.increment(error)) {
    std::string name = it->path().filename().string();
    if (name.size() > stem.size() && name.starts_with(stem) &&
        name.find_first_not_of("0123456789", stem.size()) == std::string::npos) {
      ::unlink(it->path().c_str());
    }
  }
}

}  // namespace vork
