// Locks between players: processes started here stand in for second players.

#include "users/lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "platform/errors.h"
#include "users/scratch.h"

namespace vork {
namespace {

using testing::ChildProcess;
using testing::ScratchDir;

TEST(Lock, SecondHolderIsRefusedEvenInTheSameProcessAndTheFileGoesWithTheRelease) {
  ScratchDir dir;
  std::string path = dir / "Mary.lck";
  {
    TVkLock first(path);
    EXPECT_TRUE(std::filesystem::exists(path));
    try {
      TVkLock second(path);
      ADD_FAILURE() << "second lock taken";
    } catch (const EVkError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Cannot create file \"" + path + "\": it is in use by another process");
    }
    EXPECT_TRUE(std::filesystem::exists(path));  // the refused attempt deletes nothing
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  TVkLock again(path);
}

TEST(Lock, LockHeldByAnotherProcessIsRefusedUntilReleased) {
  ScratchDir dir;
  std::string path = dir / "Mary.lck";
  ChildProcess holder([&](ChildProcess& self) {
    TVkLock lock(path);
    self.Ready();
    self.WaitForGo();
  });
  ASSERT_TRUE(holder.WaitUntilReady());
  EXPECT_THROW(TVkLock refused(path), EVkError);
  holder.Go();
  EXPECT_EQ(holder.Wait(), 0);
  EXPECT_FALSE(std::filesystem::exists(path));
  TVkLock taken(path);
}

TEST(Lock, LockFileOfAKilledProcessDoesNotBlock) {
  ScratchDir dir;
  std::string path = dir / "Mary.lck";
  ChildProcess holder([&](ChildProcess& self) {
    TVkLock lock(path);
    std::ofstream(path, std::ios::app) << "stale";
    self.Ready();
    self.WaitForGo();
  });
  ASSERT_TRUE(holder.WaitUntilReady());
  holder.Kill();
  EXPECT_EQ(holder.Wait(), 128 + SIGKILL);
  ASSERT_TRUE(std::filesystem::exists(path));
  {
    TVkLock lock(path);
    EXPECT_EQ(std::filesystem::file_size(path), 0u);  // taken over as a new, empty file
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

// Many players taking and releasing one lock as fast as they can. Each holder
// proves it is alone by creating a marker file exclusively. A lock taken on a
// file that a releasing holder had just deleted would let two in at once.
TEST(Lock, NeverTwoHoldersWhileOthersReleaseAndDeleteTheFile) {
  ScratchDir dir;
  std::string path = dir / "Busy.lck";
  std::string marker = dir / "holder";
  constexpr int kPlayers = 4;
  constexpr int kRounds = 400;
  std::vector<std::unique_ptr<ChildProcess>> players;
  for (int p = 0; p < kPlayers; ++p) {
    players.push_back(std::make_unique<ChildProcess>([&](ChildProcess&) {
      for (int round = 0; round < kRounds; ++round) {
        std::optional<TVkLock> lock;
        try {
          lock.emplace(path);
        } catch (const EVkError&) {
          continue;  // somebody else holds it now
        }
        int fd = ::open(marker.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
        if (fd < 0) throw std::runtime_error("two holders");
        ::close(fd);
        ::unlink(marker.c_str());
      }
    }));
  }
  for (auto& player : players) EXPECT_EQ(player->Wait(), 0) << "a player met another holder";
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Lock, RefusesWhatCannotBeALockFile) {
  ScratchDir dir;
  std::string target = dir / "precious";
  testing::WriteBytes(target, "keep");
  std::filesystem::create_symlink(target, dir / "link.lck");
  std::filesystem::create_directory(dir / "folder.lck");
  struct Case {
    std::string path;
    std::string reason;
  } cases[] = {
      {dir / "missing/Mary.lck", "No such file or directory"},
      {dir / "link.lck", "Too many levels of symbolic links"},
      {dir / "folder.lck", "Is a directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    try {
      TVkLock lock(c.path);
      ADD_FAILURE() << "lock taken";
    } catch (const EVkError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + c.path + "\": " + c.reason);
    }
  }
  EXPECT_EQ(testing::ReadBytes(target), "keep");
}

TEST(Lock, ReleaseCompletesAndLogsWhenSomebodyDeletedTheFileFirst) {
  ScratchDir dir;
  std::string path = dir / "Mary.lck";
  bool logging = testing::RedirectDiagnosticLog(dir / "diagnostic.log");
  {
    TVkLock lock(path);
    std::filesystem::remove(path);
  }
  if (logging) {
    EXPECT_EQ(testing::ReadBytes(dir / "diagnostic.log"),
              "Could not delete lock file \"" + path + "\".\n");
  }
  TVkLock again(path);
}

}  // namespace
}  // namespace vork
