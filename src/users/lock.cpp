#include "users/lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/diagnostic_log.h"
#include "platform/errors.h"

namespace vork {

namespace {

// Enough for any realistic churn of other players releasing the same lock
// while we open it; each retry means somebody else made progress.
constexpr int kMaxAttempts = 100;

[[noreturn]] void FailToCreate(const std::string& path, const std::string& reason) {
  throw EVkError("Cannot create file \"" + path + "\": " + reason);
}

// Lock files hold nothing, so every account may read them: the hold is the
// kernel's flock, which a descriptor open only for reading takes as well. An
// account that can write the users folder can so open and take over a lock
// file that a crashed player of another account left behind, which a file
// readable only by its owner would block for good.
constexpr mode_t kLockFileMode = 0644;

// O_NONBLOCK keeps a FIFO put in the file's place from blocking the open; it
// is refused as not a regular file afterwards.
constexpr int kOpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;

// Opens path for the lock: a new file with O_CREAT|O_EXCL, or the existing
// one, for writing where this account may (so a stale file can be emptied),
// else for reading. Sets vanished when the existing file was deleted between
// the tries; writable tells how it was opened.
int OpenLockFile(const std::string& path, bool& vanished, bool& writable) {
  writable = true;
  int fd = ::open(path.c_str(), O_RDWR | kOpenFlags | O_CREAT | O_EXCL, kLockFileMode);
  if (fd >= 0) {
    // The umask would otherwise take the other accounts' read bit away.
    if (::fchmod(fd, kLockFileMode) != 0) {
      DiagnosticLog("Could not make lock file \"" + path + "\" readable: " + std::strerror(errno));
    }
    return fd;
  }
  if (errno != EEXIST) return fd;
  fd = ::open(path.c_str(), O_RDWR | kOpenFlags);
  if (fd < 0 && errno == EACCES) {
    writable = false;
    fd = ::open(path.c_str(), O_RDONLY | kOpenFlags);
  }
  vanished = fd < 0 && errno == ENOENT;
  return fd;
}

// True when path still names the file open on fd. A releasing holder deletes
// the file while it still holds it; whoever opened the old file just before
// and gets the lock afterwards must not keep a lock on a file that no longer
// has a name, or two players would both think they hold the user.
bool StillNamedByPath(int fd, const std::string& path) {
  struct stat open_file {}, named_file {};
  if (::fstat(fd, &open_file) != 0 || ::lstat(path.c_str(), &named_file) != 0) return false;
  return open_file.st_dev == named_file.st_dev && open_file.st_ino == named_file.st_ino;
}

// Why the open file cannot be a lock file, or "" when it can.
std::string NotALockFile(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return std::strerror(EISDIR);
  if (!S_ISREG(info.st_mode)) return "it is not a regular file";
  return {};
}

}  // namespace

TVkLock::TVkLock(std::string path) : path_(std::move(path)) {
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
    bool vanished = false;
    bool writable = false;
    int fd = OpenLockFile(path_, vanished, writable);
    if (vanished) continue;
    if (fd < 0) FailToCreate(path_, std::strerror(errno));
    if (std::string reason = NotALockFile(fd); !reason.empty()) {
      ::close(fd);
      FailToCreate(path_, reason);
    }
    int locked;
    do {
      locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
      int error = errno;
      ::close(fd);
      if (error == EWOULDBLOCK) FailToCreate(path_, "it is in use by another process");
      FailToCreate(path_, std::strerror(error));
    }
    if (!StillNamedByPath(fd, path_)) {
      ::close(fd);
      continue;
    }
    // Taking over a file left by a killed player replaces it: it starts
    // empty, where this account may write it.
    if (writable && ::ftruncate(fd, 0) != 0) {
      DiagnosticLog("Could not empty lock file \"" + path_ + "\": " + std::strerror(errno));
    }
    fd_ = fd;
    return;
  }
  FailToCreate(path_, "it keeps being replaced by other processes");
}

TVkLock::~TVkLock() {
  // Delete while still holding the lock, then close: closing first would let
  // another player lock the old file in the gap, and our delete would then
  // pull the name from under its lock.
  if (::unlink(path_.c_str()) != 0) {
    DiagnosticLog("Could not delete lock file \"" + path_ + "\".");
  }
  // Asked before closing: afterwards the name may already belong to the
  // next player's new lock file.
  bool still_exists = StillNamedByPath(fd_, path_);
  ::close(fd_);
  if (still_exists) DiagnosticLog("Lock file \"" + path_ + "\" still exists.");
}

}  // namespace vork
