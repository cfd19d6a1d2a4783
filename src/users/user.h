#pragma once
// TVkUser: one learner, with the lock that keeps a second player off the
// learner's files and the learner's settings store. In directory D a user
// named N has D/N.lck (only while a player holds the user) and D/N.vkr, N
// and the extension spelt as an existing store spells them (FindUserStore).

#include <string>

#include "users/lock.h"
#include "users/reg.h"
#include "users/user_list.h"

namespace vork {

class TVkUser {
 public:
  // Takes the lock first and only then opens the settings, so that a user
  // held by another player has its settings neither read nor written. Throws
  // EVkError for a name that cannot name files inside directory, when the
  // lock is held elsewhere, or for a corrupt settings file (the lock is then
  // released again).
  TVkUser(std::string name, std::string directory);
  // Members go in reverse order: the settings are saved, then the lock is
  // released.
  ~TVkUser() = default;
  TVkUser(const TVkUser&) = delete;
  TVkUser& operator=(const TVkUser&) = delete;

  const std::string& Name() const { return name_; }
  // Without a trailing "/".
  const std::string& Directory() const { return directory_; }
  // Directory + "/" + the name as its files are spelt, without extension.
  std::string Path() const { return directory_ + "/" + store_.base; }
  TVkReg& Settings() { return settings_; }
  const TVkReg& Settings() const { return settings_; }

 private:
  std::string name_;
  std::string directory_;
  UserStore store_;
  TVkLock lock_;
  TVkReg settings_;
};

}  // namespace vork
