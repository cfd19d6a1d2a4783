#include "users/reg.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/diagnostic_log.h"
#include "platform/errors.h"
#include "platform/fault_injection.h"
#include "platform/ini_file.h"
#include "users/reg_file.h"

namespace vork {

namespace {

constexpr std::string_view kBoolType = "B";
constexpr std::string_view kStringType = "S";

[[noreturn]] void FailToRead(const std::string& path, int error) {
  throw EVkError("Cannot read user data file \"" + path + "\": " + std::strerror(error));
}

// Reads the whole file into bytes; false when there is no such file.
bool ReadWholeFile(const std::string& path, std::string& bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return false;
    FailToRead(path, errno);
  }
  struct stat info {};
  int error = ::fstat(fd, &info) != 0 ? errno
              : S_ISDIR(info.st_mode) ? EISDIR
              : !S_ISREG(info.st_mode) ? EINVAL
                                       : 0;
  if (error != 0) {
    ::close(fd);
    FailToRead(path, error);
  }
  bytes.clear();
  char buffer[65536];
  for (;;) {
    ssize_t n = FileOperationFails() ? -1 : ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      ::close(fd);
      FailToRead(path, error);
    }
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

}  // namespace

TVkReg::TVkReg(std::string file_name) : file_name_(std::move(file_name)) {
  Load();
  Save();
}

TVkReg::~TVkReg() {
  try {
    Save();
  } catch (const std::exception& e) {
    DiagnosticLog(e.what());
  }
}

void TVkReg::Load() {
  items_.Clear();
  on_disk_.clear();
  if (file_name_.empty()) return;
  std::string bytes;
  if (ReadWholeFile(file_name_, bytes)) {
    items_ = DecodeRegFile(bytes, file_name_);
    on_disk_ = std::move(bytes);
  }
}

void TVkReg::Save() {
  CancelScheduledSave();
  if (file_name_.empty()) return;
  std::string bytes = EncodeRegFile(items_);
  if (!on_disk_.empty() && bytes == on_disk_) return;
  // Through a temporary file and a rename: a crash in the middle of a save
  // leaves the previous complete store, never a truncated one.
  try {
    WriteFileAtomically(file_name_, bytes);
  } catch (...) {
    ScheduleSave();
    throw;
  }
  on_disk_ = std::move(bytes);
}

void TVkReg::Changed() {
  if (!file_name_.empty()) ScheduleSave();
}

std::string TVkReg::ReadString(std::string_view name, std::string_view default_value) const {
  const TVkRegItem* item = items_.Find(name);
  if (item && item->type == kStringType) return item->value;
  return std::string(default_value);
}

void TVkReg::WriteString(std::string_view name, std::string_view value) {
  Write(name, kStringType, value);
}

bool TVkReg::ReadBool(std::string_view name, bool default_value) const {
  const TVkRegItem* item = items_.Find(name);
  if (!item || item->type != kBoolType) return default_value;
  if (item->value == "1") return true;
  if (item->value == "0") return false;
  return default_value;
}

void TVkReg::WriteBool(std::string_view name, bool value) {
  Write(name, kBoolType, value ? "1" : "0");
}

void TVkReg::Write(std::string_view name, std::string_view type, std::string_view value) {
  items_.Insert({std::string(name), std::string(type), std::string(value)});
  Changed();
}

void TVkReg::DeleteMatching(std::string_view prefix, std::string_view suffix) {
  size_t removed = items_.RemoveIf([&](const TVkRegItem& item) {
    return item.name.starts_with(prefix) && item.name.ends_with(suffix);
  });
  if (removed > 0) Changed();
}

void TVkReg::Dump() const {
  if (items_.Empty()) {
    DiagnosticLog("(Empty)");
    return;
  }
  for (const TVkRegItem& item : items_) DiagnosticLog(item.name + "='" + item.value + "'");
}

}  // namespace vork
