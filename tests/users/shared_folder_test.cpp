// A users folder shared by several accounts of one computer, as a school sets
// it up: the folder belongs to the accounts' common group, setgid, mode 2775.
// Each account runs a player's session (users_store_session) in turn on the
// same learner. Needs root to make the accounts (setpriv); skipped otherwise.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "users/scratch.h"

namespace vork {
namespace {

using testing::ScratchDir;

constexpr gid_t kClassGroup = 4242;
constexpr uid_t kRoot = 0;
constexpr uid_t kFirstPupil = 4243;
constexpr uid_t kSecondPupil = 4244;

struct Session {
  int status = -1;  // exit status, or 128 + signal
  std::string output;
};

// argv for the session as account uid: root runs it directly, a pupil
// through setpriv with the class group as its only group.
std::vector<std::string> SessionCommand(uid_t uid, const std::vector<std::string>& arguments) {
  std::vector<std::string> command;
  if (uid != kRoot) {
    command = {"setpriv", "--reuid=" + std::to_string(uid), "--regid=" + std::to_string(kClassGroup),
               "--clear-groups", "--"};
  }
  command.push_back(USERS_STORE_SESSION);
  command.insert(command.end(), arguments.begin(), arguments.end());
  return command;
}

// Starts the session with its standard output on the returned descriptor.
pid_t StartSession(uid_t uid, const std::vector<std::string>& arguments, int& output) {
  std::vector<std::string> command = SessionCommand(uid, arguments);
  std::vector<char*> argv;
  for (std::string& part : command) argv.push_back(part.data());
  argv.push_back(nullptr);
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return -1;
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipe_ends[1], 1);
    ::dup2(pipe_ends[1], 2);
    ::close(pipe_ends[0]);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(pipe_ends[1]);
  output = pipe_ends[0];
  return pid;
}

// Reads until the end, or until the output ends with until.
std::string ReadOutput(int fd, const std::string& until = {}) {
  std::string text;
  char buffer[4096];
  while (until.empty() || !text.ends_with(until)) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

int WaitFor(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

Session RunSession(uid_t uid, const std::vector<std::string>& arguments) {
  int output = -1;
  pid_t pid = StartSession(uid, arguments, output);
  Session session;
  session.output = ReadOutput(output);
  ::close(output);
  session.status = WaitFor(pid);
  return session;
}

class SharedUsersFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run sessions as other accounts";
    if (::access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "setpriv is not installed";
    ::chmod(dir.Path().c_str(), 0755);
    std::filesystem::create_directory(users);
    ASSERT_EQ(::chown(users.c_str(), kRoot, kClassGroup), 0);
    ASSERT_EQ(::chmod(users.c_str(), 02775), 0);
  }

  // Opens Ann as uid, checks what it finds, writes key=value and closes.
  void Visit(uid_t uid, const std::string& finds, const std::string& key, const std::string& value,
             const std::string& umask = "002") {
    SCOPED_TRACE("account " + std::to_string(uid) + " writing " + key);
    Session session = RunSession(uid, {users, "Ann", umask, key, value});
    EXPECT_EQ(session.status, 0) << session.output;
    EXPECT_EQ(session.output, finds);
  }

  struct stat Stat(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
  }

  ScratchDir dir;
  const std::string users = dir / "users";
  const std::string store = users + "/Ann.vkr";
};

// Every account opens, reads and saves the learner in turn; whoever saved
// last, the store keeps the mode an administrator gave it and the class
// group, so the next account can open it.
TEST_F(SharedUsersFolder, AccountsTakeTurnsWithOneLearner) {
  Visit(kFirstPupil, "", "lesson", "1");
  EXPECT_EQ(Stat(store).st_mode & 07777, 0664u);  // new: the umask's choice
  EXPECT_EQ(Stat(store).st_gid, kClassGroup);
  Visit(kSecondPupil, "lesson=1\n", "score", "5");
  Visit(kRoot, "lesson=1\nscore=5\n", "lesson", "2");
  EXPECT_EQ(Stat(store).st_uid, kSecondPupil);  // root keeps the owner too
  ASSERT_EQ(::chmod(store.c_str(), 0640), 0);   // the administrator's choice
  Visit(kFirstPupil, "lesson=2\nscore=5\n", "score", "6");
  EXPECT_EQ(Stat(store).st_mode & 07777, 0640u);
  EXPECT_EQ(Stat(store).st_gid, kClassGroup);
  EXPECT_EQ(Stat(store).st_uid, kFirstPupil);
  Visit(kSecondPupil, "lesson=2\nscore=6\n", "done", "yes", "077");
  EXPECT_EQ(Stat(store).st_mode & 07777, 0640u);  // kept, whatever this umask
  Visit(kRoot, "done=yes\nlesson=2\nscore=6\n", "lesson", "3");
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(users))
    left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"Ann.vkr"});
}

// A new store follows the umask of the account that made it.
TEST_F(SharedUsersFolder, NewStoreFollowsTheUmask) {
  struct Case {
    const char* umask;
    mode_t mode;
  } cases[] = {{"002", 0664}, {"022", 0644}, {"077", 0600}, {"027", 0640}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.umask);
    std::filesystem::remove(store);
    Session session = RunSession(kFirstPupil, {users, "Ann", c.umask, "a", "1"});
    ASSERT_EQ(session.status, 0) << session.output;
    EXPECT_EQ(Stat(store).st_mode & 07777, c.mode);
  }
}

// A player of one account killed while it held the learner: its lock file
// stays behind, and another account takes the learner over. The crashed
// players ran with the strictest umask, which must not lock the others out.
TEST_F(SharedUsersFolder, StaleLockOfAnotherAccountDoesNotBlock) {
  Visit(kFirstPupil, "", "round", "0");
  struct Case {
    uid_t crashed;
    uid_t next;
  } cases[] = {
      {kFirstPupil, kSecondPupil},
      {kRoot, kFirstPupil},
      {kSecondPupil, kRoot},
  };
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("crashed " + std::to_string(c.crashed) + ", next " + std::to_string(c.next));
    int output = -1;
    pid_t holder = StartSession(c.crashed, {users, "Ann", "077", "--hold"}, output);
    ASSERT_TRUE(ReadOutput(output, "held\n").ends_with("held\n"));
    // A second player meanwhile is refused.
    Session refused = RunSession(c.next, {users, "Ann", "022", "x", "1"});
    EXPECT_EQ(refused.status, 3);
    EXPECT_NE(refused.output.find("in use by another process"), std::string::npos) << refused.output;
    ::kill(holder, SIGKILL);
    EXPECT_EQ(WaitFor(holder), 128 + SIGKILL);
    ::close(output);
    ASSERT_TRUE(std::filesystem::exists(users + "/Ann.lck"));
    Session next = RunSession(c.next, {users, "Ann", "022", "round", std::to_string(++round)});
    EXPECT_EQ(next.status, 0) << next.output;
    EXPECT_EQ(next.output, "round=" + std::to_string(round - 1) + "\n");
    EXPECT_FALSE(std::filesystem::exists(users + "/Ann.lck"));
  }
}

}  // namespace
}  // namespace vork
