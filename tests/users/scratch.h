#pragma once
// Helpers of the users tests: a scratch folder per test, whole-file reads and
// writes, and a forked child process that the test can hold, release or kill.

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vork::testing {

// A fresh, empty folder named after the running test; removed afterwards.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // The names in the folder, sorted.
  std::vector<std::string> Names() const;

 private:
  std::string path_;
};

std::string ReadBytes(const std::string& path);
// Points the diagnostic log at path. The log file is chosen once per process
// at its first line, so this works only in a test that runs alone (as under
// ctest); false otherwise. The file then starts empty.
bool RedirectDiagnosticLog(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// A forked process that runs body(child) and then ends with status 0, or 2
// when body threw. The body calls Ready() once it holds what the test wants
// to look at, and may call WaitForGo() to hold it until the test says Go().
class ChildProcess {
 public:
  explicit ChildProcess(const std::function<void(ChildProcess&)>& body);
  ~ChildProcess();

  // In the child.
  void Ready();
  void WaitForGo();

  // In the test. WaitUntilReady is false when the child ended first.
  bool WaitUntilReady();
  void Go();
  void Kill();
  // The exit status, or 128 + the signal that ended the child.
  int Wait();

 private:
  pid_t pid_ = -1;
  int ready_[2] = {-1, -1};
  int go_[2] = {-1, -1};
};

}  // namespace vork::testing
