#include "users/scratch.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/diagnostic_log.h"

namespace vork::testing {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string("vork-users-") + info->test_suite_name() + "-" + info->name() +
                     "-" + std::to_string(::getpid());
  std::replace(name.begin(), name.end(), '/', '_');
  path_ = (fs::temp_directory_path() / name).string();
  fs::remove_all(path_);
  fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::vector<std::string> ScratchDir::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool RedirectDiagnosticLog(const std::string& path) {
  ::setenv("VORK_LOG", path.c_str(), 1);
  std::string probe = "log probe " + std::to_string(::getpid());
  DiagnosticLog(probe);
  if (ReadBytes(path) != probe + "\n") return false;
  std::ofstream(path, std::ios::trunc).close();
  return true;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

ChildProcess::ChildProcess(const std::function<void(ChildProcess&)>& body) {
  if (::pipe(ready_) != 0 || ::pipe(go_) != 0) throw std::runtime_error("pipe failed");
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    ::close(ready_[0]);
    ::close(go_[1]);
    int status = 0;
    try {
      body(*this);
    } catch (...) {
      status = 2;
    }
    // No exit handlers or destructors of the test process: they belong to
    // the parent.
    ::_exit(status);
  }
  ::close(ready_[1]);
  ::close(go_[0]);
  ready_[1] = go_[0] = -1;
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    Kill();
    Wait();
  }
  for (int fd : {ready_[0], ready_[1], go_[0], go_[1]}) {
    if (fd >= 0) ::close(fd);
  }
}

void ChildProcess::Ready() {
  char byte = 'r';
  [[maybe_unused]] ssize_t n = ::write(ready_[1], &byte, 1);
}

void ChildProcess::WaitForGo() {
  char byte;
  [[maybe_unused]] ssize_t n = ::read(go_[0], &byte, 1);
}

bool ChildProcess::WaitUntilReady() {
  char byte;
  return ::read(ready_[0], &byte, 1) == 1;
}

void ChildProcess::Go() {
  char byte = 'g';
  [[maybe_unused]] ssize_t n = ::write(go_[1], &byte, 1);
}

void ChildProcess::Kill() {
  if (pid_ > 0) ::kill(pid_, SIGKILL);
}

int ChildProcess::Wait() {
  if (pid_ <= 0) return -1;
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace vork::testing
