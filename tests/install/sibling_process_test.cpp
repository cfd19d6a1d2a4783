// The sibling program is closed through a handle that cannot pass to another
// process: it stays this player's child until it is waited for, and a
// program left running is still waited for, so no zombie is left behind.

#include "install/sibling_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace vork {
namespace {

using namespace std::chrono_literals;

// 'R', 'S', 'Z' ... from /proc, or 0 when no process has the number.
char ProcessState(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return 0;
  const size_t name_end = line.rfind(')');
  return name_end + 2 < line.size() ? line[name_end + 2] : '?';
}

// True when pid is no longer a child of this process (it has been reaped).
bool Reaped(pid_t pid) {
  siginfo_t info{};
  return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 &&
         errno == ECHILD;
}

// Blocks until the child has ended, without reaping it.
void WaitUntilEnded(pid_t pid) {
  siginfo_t info{};
  ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT);
}

TEST(SiblingProcess, CloseEndsARunningProgramAndReapsIt) {
  auto sibling = TSiblingProcess::Start("/bin/sleep", {"30"});
  ASSERT_TRUE(sibling);
  RecordProperty("pidfd", sibling->HasPidFd() ? "yes" : "no");
  const pid_t pid = sibling->Pid();
  EXPECT_TRUE(sibling->Running());
  const auto started = std::chrono::steady_clock::now();
  EXPECT_TRUE(sibling->Close(5000ms));
  EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
  EXPECT_FALSE(sibling->Running());
  EXPECT_TRUE(Reaped(pid));
}

// A program that has ended on its own is a zombie of ours until we wait for
// it, so its number cannot have been given to anybody else; closing it
// signals nothing and reaps it.
TEST(SiblingProcess, ProgramThatEndedIsReapedNotSignalled) {
  auto sibling = TSiblingProcess::Start("/bin/sh", {"-c", "exit 0"});
  ASSERT_TRUE(sibling);
  const pid_t pid = sibling->Pid();
  WaitUntilEnded(pid);
  EXPECT_EQ(ProcessState(pid), 'Z');
  EXPECT_TRUE(sibling->Close(0ms));
  EXPECT_TRUE(Reaped(pid));
  EXPECT_TRUE(sibling->Close(0ms));  // again: still nothing to signal
}

// A program that does not end within the grace has had its request and is
// let go; it is still waited for, so once it ends no zombie stays behind.
TEST(SiblingProcess, ProgramThatIgnoresTheRequestIsLetGoAndStillReaped) {
  auto sibling = TSiblingProcess::Start("/bin/sh", {"-c", "trap '' TERM; sleep 1"});
  ASSERT_TRUE(sibling);
  const pid_t pid = sibling->Pid();
  std::this_thread::sleep_for(100ms);  // let the shell set its trap
  EXPECT_FALSE(sibling->Close(200ms));
  EXPECT_TRUE(sibling->Running());
  sibling.reset();
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!Reaped(pid) && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(20ms);
  EXPECT_TRUE(Reaped(pid));
}

TEST(SiblingProcess, ProgramThatCannotStartGivesNothing) {
  const std::string text_file = std::filesystem::temp_directory_path() / "vork-sibling-not-a-program";
  std::ofstream(text_file) << "not a program";
  for (const std::string& program : {std::string("/nonexistent/zentor"), text_file}) {
    SCOPED_TRACE(program);
    EXPECT_FALSE(TSiblingProcess::Start(program, {"a"}));
  }
  std::filesystem::remove(text_file);
}

}  // namespace
}  // namespace vork
