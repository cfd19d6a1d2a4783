#pragma once
// TSiblingProcess: a program this player started and may later ask to end.
// It stays this player's child until it has been waited for, and is signalled
// through a pidfd where the kernel has them: a bare process number can, once
// the program has ended and been reaped, belong to an unrelated process by
// the time the player gets round to closing "its" program.

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace vork {

class TSiblingProcess {
 public:
  // Starts program (a path) with arguments, in the current folder and
  // environment. Answers nullptr when it cannot be started.
  static std::unique_ptr<TSiblingProcess> Start(const std::string& program,
                                                const std::vector<std::string>& arguments);
  // A program still running goes on running; it is waited for in the
  // background so that it does not linger as a zombie once it ends.
  ~TSiblingProcess();
  TSiblingProcess(const TSiblingProcess&) = delete;
  TSiblingProcess& operator=(const TSiblingProcess&) = delete;

  // False once the program has ended (it is then reaped).
  bool Running();
  // Asks the program to end (SIGTERM) and waits at most grace for it to.
  // True when it has ended; a program that has already ended is not
  // signalled at all.
  bool Close(std::chrono::milliseconds grace);

  pid_t Pid() const { return pid_; }
  bool HasPidFd() const { return pidfd_ >= 0; }

 private:
  TSiblingProcess(pid_t pid, int pidfd) : pid_(pid), pidfd_(pidfd) {}
  bool Signal(int signal_number);
  void Reaped();

  pid_t pid_;
  int pidfd_;
  bool ended_ = false;
};

}  // namespace vork
