// The settings store's behaviour: typed reads, changes saved at the next save
// point, deletion by name pattern, the in-memory variant and the log dump.

#include "users/reg.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "platform/deferred_saves.h"
#include "platform/diagnostic_log.h"
#include "platform/errors.h"
#include "platform/fault_injection.h"
#include "platform/message_boxes.h"
#include "platform/player_host.h"
#include "users/reg_file.h"
#include "users/scratch.h"

namespace vork {
namespace {

using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;
using namespace std::string_literals;

const std::string kEmptyStore = "VKR1\x00\x00\x00\x00"s;

// What a fresh reader of the file sees.
std::vector<TVkRegItem> StoredItems(const std::string& path) {
  TVkRegItems items = DecodeRegFile(ReadBytes(path), path);
  return {items.begin(), items.end()};
}

TEST(Reg, NewFileExistsAsAnEmptyStoreRightAfterCreation) {
  ScratchDir dir;
  TVkReg reg(dir / "new.vkr");
  EXPECT_EQ(ReadBytes(dir / "new.vkr"), kEmptyStore);
}

TEST(Reg, TypedReadsGiveTheDefaultUnlessNameAndTypeMatch) {
  ScratchDir dir;
  std::string path = dir / "u.vkr";
  // A file as another version might have left it: odd boolean values and a
  // type tag nobody writes.
  WriteBytes(path,
             "VKR1\x07\x00\x00\x00"
             "\x03\x00\x00\x00" "yes" "\x01\x00\x00\x00" "B" "\x03\x00\x00\x00" "yes"
             "\x03\x00\x00\x00" "ten" "\x01\x00\x00\x00" "B" "\x02\x00\x00\x00" "10"
             "\x05\x00\x00\x00" "empty" "\x01\x00\x00\x00" "B" "\x00\x00\x00\x00"
             "\x04\x00\x00\x00" "zero" "\x01\x00\x00\x00" "B" "\x01\x00\x00\x00" "0"
             "\x03\x00\x00\x00" "one" "\x01\x00\x00\x00" "B" "\x01\x00\x00\x00" "1"
             "\x03\x00\x00\x00" "str" "\x01\x00\x00\x00" "S" "\x01\x00\x00\x00" "1"
             "\x04\x00\x00\x00" "wide" "\x01\x00\x00\x00" "s" "\x01\x00\x00\x00" "w"s);
  TVkReg reg(path);
  struct BoolCase {
    const char* name;
    bool if_default_false, if_default_true;
  } bools[] = {
      {"yes", false, true},  {"ten", false, true},   {"empty", false, true},
      {"zero", false, false}, {"one", true, true},   {"str", false, true},
      {"missing", false, true}, {"ONE", false, true},
  };
  for (const auto& c : bools) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(reg.ReadBool(c.name, false), c.if_default_false);
    EXPECT_EQ(reg.ReadBool(c.name, true), c.if_default_true);
  }
  EXPECT_EQ(reg.ReadString("str", "d"), "1");
  EXPECT_EQ(reg.ReadString("one", "d"), "d");   // a boolean is no string
  EXPECT_EQ(reg.ReadString("wide", "d"), "d");  // tags compare exactly
  EXPECT_EQ(reg.ReadString("STR", "d"), "d");   // names compare exactly
}

TEST(Reg, WritesReachTheFileAtTheNextSavePointAndReplaceWhateverTypeWasThere) {
  ScratchDir dir;
  std::string path = dir / "u.vkr";
  TVkReg reg(path);
  reg.WriteString("Name", "Mary");
  EXPECT_TRUE(reg.SavePending());
  EXPECT_EQ(ReadBytes(path), kEmptyStore);
  EXPECT_TRUE(SaveDeferredChanges());
  EXPECT_FALSE(reg.SavePending());
  EXPECT_EQ(StoredItems(path), (std::vector<TVkRegItem>{{"Name", "S", "Mary"}}));
  reg.WriteBool("name", true);  // another item: names are case-sensitive
  reg.WriteBool("Name", false);  // replaces the string
  SaveDeferredChanges();
  EXPECT_EQ(StoredItems(path),
            (std::vector<TVkRegItem>{{"Name", "B", "0"}, {"name", "B", "1"}}));
  EXPECT_EQ(reg.ReadString("Name", "gone"), "gone");
  EXPECT_FALSE(reg.ReadBool("Name", true));

  TVkReg again(dir / "copy.vkr");
  std::filesystem::copy_file(path, dir / "copy.vkr", std::filesystem::copy_options::overwrite_existing);
  again.Load();
  EXPECT_TRUE(again.ReadBool("name", false));
}

// How many file operations (opens, writes, syncs, renames) body makes.
template <class Body>
int64_t FileOperationsOf(Body&& body) {
  constexpr int64_t kFar = int64_t{1} << 40;
  FailFileOperation(kFar);
  body();
  return kFar - FailFileOperation(0);
}

// A routine that writes thousands of settings writes the file once, at its
// save point; writing the whole store after each change made such a course
// freeze for a minute.
TEST(Reg, ManyWritesBeforeASavePointAreSavedOnce) {
  ScratchDir dir;
  TVkReg reg(dir / "u.vkr");
  // Names in no particular order, some written twice.
  for (int i = 0; i < 5000; ++i) reg.WriteString("word" + std::to_string((i * 7919) % 4000), std::to_string(i));
  const int64_t operations_of_the_writes = FileOperationsOf([&] {
    for (int i = 0; i < 5000; ++i) reg.WriteString("more" + std::to_string(i), "x");
    reg.WriteBool("done", true);
  });
  EXPECT_EQ(operations_of_the_writes, 0);
  const int64_t operations_of_the_save_point = FileOperationsOf([] { SaveDeferredChanges(); });
  // A save of the same store with one change (one that changes nothing writes nothing).
  reg.WriteString("more0", "y");
  const int64_t operations_of_one_save = FileOperationsOf([&] { reg.Save(); });
  EXPECT_GT(operations_of_one_save, 0);
  EXPECT_EQ(operations_of_the_save_point, operations_of_one_save);
  EXPECT_EQ(FileOperationsOf([] { SaveDeferredChanges(); }), 0);  // nothing left to save

  TVkReg reread(dir / "u.vkr");
  EXPECT_EQ(reread.Items().Count(), 4000u + 5000u + 1u);
  EXPECT_EQ(reread.ReadString("word0", ""), "4000");  // the later of two writes
  EXPECT_TRUE(reread.ReadBool("done", false));
}

// The boxes a test host was asked to show.
class RecordedBoxes : public MessageBoxes {
 public:
  BoxResult Show(BoxKind, std::string_view text, BoxButtons) override {
    shown.emplace_back(text);
    return BoxResult::Ok;
  }
  std::vector<std::string> shown;
};

struct BoxRecordingHost : PlayerHost {
  MessageBoxes& Boxes() override { return boxes; }
  RecordedBoxes boxes;
};

// A save that fails at a save point shows the file's name once, keeps the
// change in memory and tries again at every later save point; another store
// is saved all the same.
TEST(Reg, FailedSaveIsShownOnceAndTriedAgainAtLaterSavePoints) {
  BoxRecordingHost host;
  ScopedHost scoped(host);
  ScratchDir dir;
  std::string folder = dir / "gone";
  std::filesystem::create_directory(folder);
  TVkReg lost(folder + "/u.vkr");
  TVkReg fine(dir / "fine.vkr");
  std::filesystem::remove_all(folder);
  lost.WriteString("a", "1");
  fine.WriteString("b", "2");
  EXPECT_FALSE(SaveDeferredChanges());
  EXPECT_FALSE(SaveDeferredChanges());
  ASSERT_EQ(host.boxes.shown.size(), 1u);
  EXPECT_NE(host.boxes.shown[0].find(folder + "/u.vkr"), std::string::npos) << host.boxes.shown[0];
  EXPECT_TRUE(lost.SavePending());
  EXPECT_EQ(StoredItems(dir / "fine.vkr"), (std::vector<TVkRegItem>{{"b", "S", "2"}}));

  std::filesystem::create_directory(folder);
  EXPECT_TRUE(SaveDeferredChanges());
  EXPECT_FALSE(lost.SavePending());
  EXPECT_EQ(StoredItems(folder + "/u.vkr"), (std::vector<TVkRegItem>{{"a", "S", "1"}}));
  EXPECT_EQ(host.boxes.shown.size(), 1u);
}

// A store that goes away with a change pending saves it itself and is not
// visited by the next save point (that would touch freed memory).
TEST(Reg, StoreReleasedWithAPendingSaveSavesItAndLeavesTheSavePoints) {
  ScratchDir dir;
  {
    TVkReg reg(dir / "u.vkr");
    reg.WriteString("a", "1");
  }
  EXPECT_EQ(FileOperationsOf([] { SaveDeferredChanges(); }), 0);
  EXPECT_EQ(StoredItems(dir / "u.vkr"), (std::vector<TVkRegItem>{{"a", "S", "1"}}));
}

TEST(Reg, DeleteMatchingRemovesByPrefixAndSuffix) {
  const std::vector<std::string> names = {"lesson1.done", "lesson1.score", "lesson2.done",
                                          "level", "done"};
  struct Case {
    const char* prefix;
    const char* suffix;
    std::vector<std::string> left;
  } cases[] = {
      {"lesson1.", "", {"done", "lesson2.done", "level"}},
      {"", ".done", {"done", "lesson1.score", "level"}},
      {"lesson", ".done", {"done", "lesson1.score", "level"}},
      {"le", "l", {"done", "lesson1.done", "lesson1.score", "lesson2.done"}},
      {"Lesson", "", {"done", "lesson1.done", "lesson1.score", "lesson2.done", "level"}},
      {"", "", {}},
  };
  ScratchDir dir;
  std::string path = dir / "u.vkr";
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.prefix) + "*" + c.suffix);
    TVkReg reg(path);
    for (const auto& name : names) reg.WriteString(name, "x");
    reg.DeleteMatching(c.prefix, c.suffix);
    SaveDeferredChanges();
    std::vector<std::string> stored;
    for (const auto& item : StoredItems(path)) stored.push_back(item.name);
    EXPECT_EQ(stored, c.left);
    reg.DeleteMatching("", "");
    SaveDeferredChanges();
  }
  EXPECT_EQ(ReadBytes(path), kEmptyStore);
}

TEST(Reg, DeleteMatchingWithoutAMatchDoesNotWrite) {
  ScratchDir dir;
  std::string path = dir / "u.vkr";
  TVkReg reg(path);
  reg.WriteString("a", "1");
  SaveDeferredChanges();
  std::filesystem::remove(path);
  reg.DeleteMatching("b", "");
  EXPECT_FALSE(reg.SavePending());
  SaveDeferredChanges();
  EXPECT_FALSE(std::filesystem::exists(path));
}

ino_t Inode(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status.st_ino;
}

// A save replaces the file (a new inode); one that would write the bytes
// already there leaves it alone, so a run that changes nothing flushes
// nothing: not at the start, not for a value written again, not at the end.
TEST(Reg, OnlyAChangeRewritesTheFile) {
  ScratchDir dir;
  const std::string path = dir / "u.vkr";
  {
    TVkReg reg(path);
    reg.WriteString("a", "1");
  }
  const ino_t written = Inode(path);
  {
    TVkReg reg(path);
    reg.WriteString("a", "1");
    EXPECT_EQ(Inode(path), written);
  }
  EXPECT_EQ(Inode(path), written);
  {
    TVkReg reg(path);
    reg.WriteString("a", "2");
  }
  EXPECT_NE(Inode(path), written);
  TVkReg reread(path);
  EXPECT_EQ(reread.ReadString("a", ""), "2");
}

TEST(Reg, SaveFailureReachesTheCallerOfSaveAndNamesTheFile) {
  ScratchDir dir;
  std::string folder = dir / "gone";
  std::filesystem::create_directory(folder);
  TVkReg reg(folder + "/u.vkr");
  std::filesystem::remove_all(folder);
  reg.WriteString("a", "1");
  try {
    reg.Save();
    ADD_FAILURE() << "no failure";
  } catch (const EVkError& e) {
    EXPECT_NE(std::string(e.what()).find(folder + "/u.vkr"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(reg.SavePending());
  std::filesystem::create_directory(folder);
}

TEST(Reg, InMemoryStoreWorksWithoutEverTouchingTheDisk) {
  ScratchDir dir;
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  {
    TVkReg reg;
    reg.WriteString("a", "1");
    reg.WriteBool("b", true);
    reg.DeleteMatching("a", "");
    EXPECT_EQ(reg.ReadString("a", "-"), "-");
    EXPECT_TRUE(reg.ReadBool("b", false));
    EXPECT_FALSE(reg.SavePending());
  }
  std::filesystem::current_path(previous);
  EXPECT_TRUE(dir.Names().empty());
}

TEST(Reg, DumpWritesOneLinePerItemOrEmpty) {
  ScratchDir dir;
  std::string log = dir / "diagnostic.log";
  if (!testing::RedirectDiagnosticLog(log)) GTEST_SKIP() << "the log was opened before this test";
  TVkReg reg;
  reg.Dump();
  reg.WriteString("b", "two words");
  reg.WriteBool("a", true);
  reg.Dump();
  EXPECT_EQ(ReadBytes(log), "(Empty)\na='1'\nb='two words'\n");
}

}  // namespace
}  // namespace vork
