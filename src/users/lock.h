#pragma once
// TVkLock: an exclusive lock on a file that a second running player cannot
// take. The hold is a kernel lock (flock) on the open file, so it goes away
// with the process that held it: a lock file left behind by a killed player
// does not block anybody, whichever account it belonged to (the file is
// readable by all; see lock.cpp).

#include <string>

namespace vork {

class TVkLock {
 public:
  // Creates the file (or takes over one that nobody holds) and holds it.
  // Throws EVkError naming the path when another process holds it or the
  // file cannot be created.
  explicit TVkLock(std::string path);
  // Deletes the file and lets go of it. Never throws; a file that cannot be
  // deleted is only logged.
  ~TVkLock();
  TVkLock(const TVkLock&) = delete;
  TVkLock& operator=(const TVkLock&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace vork
