#include "install/sibling_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "platform/diagnostic_log.h"

extern char** environ;

namespace vork {

namespace {

int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  errno = ENOSYS;
  return -1;
#endif
}

int SendThroughPidFd(int pidfd, int signal_number) {
#ifdef SYS_pidfd_send_signal
  return static_cast<int>(::syscall(SYS_pidfd_send_signal, pidfd, signal_number, nullptr, 0));
#else
  (void)pidfd;
  (void)signal_number;
  errno = ENOSYS;
  return -1;
#endif
}

// The program gets default signal handling and an empty mask, whatever the
// player set up for itself, and a session of its own, so that a terminal's
// Ctrl+C meant for the player does not reach it.
class SpawnAttributes {
 public:
  SpawnAttributes() {
    ::posix_spawnattr_init(&attributes_);
    sigset_t all, none;
    ::sigfillset(&all);
    ::sigemptyset(&none);
    ::posix_spawnattr_setsigdefault(&attributes_, &all);
    ::posix_spawnattr_setsigmask(&attributes_, &none);
    ::posix_spawnattr_setflags(&attributes_,
                               POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSID);
  }
  ~SpawnAttributes() { ::posix_spawnattr_destroy(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  const posix_spawnattr_t* Get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

}  // namespace

std::unique_ptr<TSiblingProcess> TSiblingProcess::Start(const std::string& program,
                                                        const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  SpawnAttributes attributes;
  pid_t pid = -1;
  if (::posix_spawn(&pid, program.c_str(), nullptr, attributes.Get(), argv.data(), environ) != 0)
    return nullptr;
  // Taken while the child is not yet waited for, so the number cannot have
  // passed to another process. Without pidfds (an old kernel, a sandbox)
  // the unreaped child's number is as safe, as long as only we wait for it.
  const int pidfd = OpenPidFd(pid);
  return std::unique_ptr<TSiblingProcess>(new TSiblingProcess(pid, pidfd));
}

TSiblingProcess::~TSiblingProcess() {
  if (!Running()) return;
  if (pidfd_ >= 0) ::close(pidfd_);
  // Nothing else waits for this child; a thread that does keeps it from
  // staying a zombie for the rest of the run.
  std::thread([pid = pid_] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

void TSiblingProcess::Reaped() {
  ended_ = true;
  if (pidfd_ >= 0) ::close(pidfd_);
  pidfd_ = -1;
}

bool TSiblingProcess::Running() {
  if (ended_) return false;
  int status = 0;
  pid_t answer;
  do {
    answer = ::waitpid(pid_, &status, WNOHANG);
  } while (answer < 0 && errno == EINTR);
  if (answer == 0) return true;
  // Reaped now, or (ECHILD) by somebody else: either way it has ended.
  Reaped();
  return false;
}

bool TSiblingProcess::Signal(int signal_number) {
  if (pidfd_ >= 0) return SendThroughPidFd(pidfd_, signal_number) == 0;
  // Still our unreaped child (Running() was just asked), so the number is
  // still its own.
  return ::kill(pid_, signal_number) == 0;
}

bool TSiblingProcess::Close(std::chrono::milliseconds grace) {
  if (!Running()) return true;
  if (!Signal(SIGTERM)) {
    DiagnosticLog("Could not ask process " + std::to_string(pid_) + " to end.");
  }
  const auto deadline = std::chrono::steady_clock::now() + grace;
  while (Running()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    if (pidfd_ >= 0) {
      // Readable once the process has ended.
      pollfd ended{pidfd_, POLLIN, 0};
      ::poll(&ended, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
    } else {
      std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(10)));
    }
  }
  return true;
}

}  // namespace vork
