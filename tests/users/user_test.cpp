// Users: lock first, then settings; one player per user; nothing lost when a
// player is killed in the middle of a save.

#include "users/user.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <thread>

#include "platform/deferred_saves.h"
#include "platform/errors.h"
#include "users/reg_file.h"
#include "users/user_list.h"
#include "users/scratch.h"

namespace vork {
namespace {

using testing::ChildProcess;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;
using namespace std::string_literals;

using Names = std::vector<std::string>;

TEST(User, OpenedUserHasSettingsFileAtOnceAndKeepsItAfterRelease) {
  ScratchDir dir;
  {
    TVkUser user("Mary", dir.Path() + "/");
    EXPECT_EQ(user.Name(), "Mary");
    EXPECT_EQ(user.Directory(), dir.Path());
    EXPECT_EQ(user.Path(), dir / "Mary");
    EXPECT_EQ(dir.Names(), (Names{"Mary.lck", "Mary.vkr"}));
    EXPECT_EQ(ReadBytes(dir / "Mary.vkr"), "VKR1\0\0\0\0"s);
    user.Settings().WriteString("lesson", "3");
  }
  EXPECT_EQ(dir.Names(), (Names{"Mary.vkr"}));
  TVkUser again("Mary", dir.Path());
  EXPECT_EQ(again.Settings().ReadString("lesson", ""), "3");
}

TEST(User, SecondPlayerIsRefusedAndLeavesTheFirstPlayersFilesAlone) {
  ScratchDir dir;
  ChildProcess first([&](ChildProcess& self) {
    TVkUser user("Mary", dir.Path());
    user.Settings().WriteString("lesson", "7");
    self.Ready();
    self.WaitForGo();
    user.Settings().WriteString("lesson", "8");
  });
  ASSERT_TRUE(first.WaitUntilReady());
  std::string settings = ReadBytes(dir / "Mary.vkr");
  auto modified = std::filesystem::last_write_time(dir / "Mary.vkr");
  try {
    TVkUser second("Mary", dir.Path());
    ADD_FAILURE() << "second player opened the user";
  } catch (const EVkError& e) {
    EXPECT_NE(std::string(e.what()).find("in use by another process"), std::string::npos);
  }
  EXPECT_EQ(ReadBytes(dir / "Mary.vkr"), settings);
  EXPECT_EQ(std::filesystem::last_write_time(dir / "Mary.vkr"), modified);
  EXPECT_EQ(dir.Names(), (Names{"Mary.lck", "Mary.vkr"}));

  first.Go();
  EXPECT_EQ(first.Wait(), 0);
  TVkUser now("Mary", dir.Path());
  EXPECT_EQ(now.Settings().ReadString("lesson", ""), "8");
}

TEST(User, CorruptSettingsReleaseTheLockAndStayAsTheyWere) {
  ScratchDir dir;
  WriteBytes(dir / "Mary.vkr", "garbage");
  try {
    TVkUser user("Mary", dir.Path());
    ADD_FAILURE() << "corrupt user opened";
  } catch (const EVkError& e) {
    EXPECT_EQ(std::string(e.what()), "Unsupported or corrupt user data file");
  }
  EXPECT_EQ(dir.Names(), (Names{"Mary.vkr"}));
  EXPECT_EQ(ReadBytes(dir / "Mary.vkr"), "garbage");
}

TEST(User, NameThatWouldLeaveTheUsersDirectoryIsRefused) {
  ScratchDir outer;
  std::string users = outer / "users";
  std::filesystem::create_directory(users);
  for (const std::string& name : {""s, "."s, ".."s, "../Mary"s, "a/b"s, "..\\Mary"s, "a\\b"s,
                                  "a\nb"s, "Mary\0x"s}) {
    SCOPED_TRACE(name);
    try {
      TVkUser user(name, users);
      ADD_FAILURE() << "user opened";
    } catch (const EVkError& e) {
      EXPECT_TRUE(std::string(e.what()).starts_with("Invalid user name")) << e.what();
    }
  }
  EXPECT_EQ(outer.Names(), (Names{"users"}));
  EXPECT_TRUE(std::filesystem::is_empty(users));
}

TEST(User, NameFindsItsFilesWhateverTheLetterCase) {
  ScratchDir dir;
  {
    TVkUser mary("Mary", dir.Path());
    mary.Settings().WriteString("lesson", "4");
  }
  {
    TVkUser typed("MARY", dir.Path());
    EXPECT_EQ(typed.Name(), "MARY");
    EXPECT_EQ(typed.Path(), dir / "Mary");
    EXPECT_EQ(typed.Settings().ReadString("lesson", ""), "4");
    EXPECT_THROW(TVkUser other("mary", dir.Path()), EVkError);  // the same user
  }
  EXPECT_EQ(dir.Names(), (Names{"Mary.vkr"}));
}

// Stores copied from a case-insensitive disk keep whatever letter case they
// had: the learner is listed once and opens, and saves back into, the store
// that is there instead of a new empty one beside it.
TEST(User, StoreIsFoundWhateverTheLetterCaseOfItsFileName) {
  struct Case {
    Names files;  // on disk, each a store that knows its own file name
    std::string opened_as;
    Names listed;
    std::string store;  // the file that is read and then saved
  } cases[] = {
      {{"MARY.VKR"}, "Mary", {"Mary"}, "MARY.VKR"},
      {{"Mary.Vkr"}, "mary", {"Mary"}, "Mary.Vkr"},
      {{"peter.vkR", "anna.VKR"}, "Peter", {"Anna", "Peter"}, "peter.vkR"},
      // Several stores of one learner: the one spelt as the name was given,
      // then the lower-case extension, then the first file name in byte order.
      {{"MARY.vkr", "Mary.VKR"}, "Mary", {"Mary"}, "Mary.VKR"},
      {{"Mary.VKR", "Mary.vkr"}, "Mary", {"Mary"}, "Mary.vkr"},
      {{"MARY.VKR", "mary.vkr"}, "Mary", {"Mary"}, "mary.vkr"},
      {{"MARY.Vkr", "MARY.VKR"}, "mary", {"Mary"}, "MARY.VKR"},
      {{"mARY.VKR", "MARY.VKR"}, "Mary", {"MARY"}, "MARY.VKR"},
      // No store of that learner yet: a new one, extension in lower case.
      {{"MARY.VKR"}, "Zoe", {"Mary"}, "Zoe.vkr"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.files.front() + " opened as " + c.opened_as);
    ScratchDir dir;
    for (const std::string& file : c.files) {
      TVkRegItems items;
      items.Insert({"file", "S", file});
      WriteBytes(dir / file, EncodeRegFile(items));
    }
    EXPECT_EQ(ListUsers(dir.Path()), c.listed);
    {
      TVkUser user(c.opened_as, dir.Path());
      EXPECT_EQ(user.Settings().ReadString("file", c.store), c.store);
      user.Settings().WriteString("lesson", "5");
    }
    Names after = c.files;
    if (std::find(after.begin(), after.end(), c.store) == after.end()) after.push_back(c.store);
    std::sort(after.begin(), after.end());
    EXPECT_EQ(dir.Names(), after);
    TVkRegItems saved = DecodeRegFile(ReadBytes(dir / c.store), c.store);
    EXPECT_EQ(saved.Find("lesson") ? saved.Find("lesson")->value : "(none)", "5");
  }
}

TEST(User, OpeningRemovesOnlyItsOwnLeftoverTemporaryFiles) {
  ScratchDir dir;
  for (const char* name : {"Mary.vkr.tmp123456", "Mary.vkr.tmp7", "Mary.vkr.tmpx", "Mary.vkr.tmp",
                           "Peter.vkr.tmp42", "Mary.tmp"}) {
    WriteBytes(dir / name, "partial");
  }
  TVkUser user("Mary", dir.Path());
  EXPECT_EQ(dir.Names(), (Names{"Mary.lck", "Mary.tmp", "Mary.vkr", "Mary.vkr.tmp", "Mary.vkr.tmpx",
                                "Peter.vkr.tmp42"}));
}

// A player killed at a random moment while saving over and over, each value
// at a save point of its own: the next open always finds a complete store,
// never older than the last save point the killed player had passed, and no
// temporary files pile up.
TEST(User, PlayerKilledWhileSavingLeavesACompleteStore) {
  ScratchDir dir;
  constexpr int kItems = 40;
  const std::string value(2000, 'v');
  const std::string passed = dir / "passed";
  std::mt19937 random(12345);
  int last_counter = -1;
  int kills_that_left_a_temporary_file = 0;
  for (int round = 0; round < 30; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    ChildProcess writer([&](ChildProcess& self) {
      TVkUser user("Writer", dir.Path());
      for (int i = 0; i < kItems; ++i) user.Settings().WriteString("item" + std::to_string(i), value);
      int counter = std::stoi(user.Settings().ReadString("counter", "0"));
      SaveDeferredChanges();
      self.Ready();
      for (;;) {
        user.Settings().WriteString("counter", std::to_string(++counter));
        user.Settings().WriteString("scratch", std::to_string(counter));
        if (!SaveDeferredChanges()) std::abort();
        // Past the save point: a store older than this is a lost write.
        WriteBytes(passed, std::to_string(counter));
      }
    });
    ASSERT_TRUE(writer.WaitUntilReady());
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    writer.Kill();
    ASSERT_EQ(writer.Wait(), 128 + SIGKILL);
    const int last_passed = std::filesystem::exists(passed) ? std::stoi("0" + ReadBytes(passed)) : 0;
    std::filesystem::remove(passed);
    if (dir.Names().size() > 2) ++kills_that_left_a_temporary_file;

    TVkUser user("Writer", dir.Path());
    EXPECT_EQ(dir.Names(), (Names{"Writer.lck", "Writer.vkr"}));
    const TVkRegItems& items = user.Settings().Items();
    const bool has_counter = !user.Settings().ReadString("counter", "").empty();
    ASSERT_EQ(items.Count(), kItems + (has_counter ? 2u : 0u));
    for (const auto& item : items) {
      if (item.name != "counter" && item.name != "scratch") {
        EXPECT_EQ(item.value, value) << item.name;
      }
    }
    int counter = std::stoi(user.Settings().ReadString("counter", "-1"));
    EXPECT_GE(counter, last_counter);
    EXPECT_GE(counter, last_passed);
    // Both writes of one routine are in the store, or neither.
    EXPECT_EQ(user.Settings().ReadString("scratch", std::to_string(counter)), std::to_string(counter));
    last_counter = counter;
  }
  RecordProperty("kills_that_left_a_temporary_file", kills_that_left_a_temporary_file);
}

}  // namespace
}  // namespace vork
