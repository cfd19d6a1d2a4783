// The settings store's behaviour: typed reads, write-through, deletion by
// name pattern, the in-memory variant and the log dump.

#include "users/reg.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "platform/diagnostic_log.h"
#include "platform/errors.h"
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

TEST(Reg, EveryWriteReachesTheFileAtOnceAndReplacesWhateverTypeWasThere) {
  ScratchDir dir;
  std::string path = dir / "u.vkr";
  TVkReg reg(path);
  reg.WriteString("Name", "Mary");
  EXPECT_EQ(StoredItems(path), (std::vector<TVkRegItem>{{"Name", "S", "Mary"}}));
  reg.WriteBool("name", true);  // another item: names are case-sensitive
  reg.WriteBool("Name", false);  // replaces the string
  EXPECT_EQ(StoredItems(path),
            (std::vector<TVkRegItem>{{"Name", "B", "0"}, {"name", "B", "1"}}));
  EXPECT_EQ(reg.ReadString("Name", "gone"), "gone");
  EXPECT_FALSE(reg.ReadBool("Name", true));

  TVkReg again(dir / "copy.vkr");
  std::filesystem::copy_file(path, dir / "copy.vkr", std::filesystem::copy_options::overwrite_existing);
  again.Load();
  EXPECT_TRUE(again.ReadBool("name", false));
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
    std::vector<std::string> stored;
    for (const auto& item : StoredItems(path)) stored.push_back(item.name);
    EXPECT_EQ(stored, c.left);
    reg.DeleteMatching("", "");
  }
  EXPECT_EQ(ReadBytes(path), kEmptyStore);
}

TEST(Reg, DeleteMatchingWithoutAMatchDoesNotWrite) {
  ScratchDir dir;
  std::string path = dir / "u.vkr";
  TVkReg reg(path);
  reg.WriteString("a", "1");
  std::filesystem::remove(path);
  reg.DeleteMatching("b", "");
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
    EXPECT_NE(Inode(path), written);
  }
  TVkReg reread(path);
  EXPECT_EQ(reread.ReadString("a", ""), "2");
}

TEST(Reg, SaveFailureReachesTheWriterAndNamesTheFile) {
  ScratchDir dir;
  std::string folder = dir / "gone";
  std::filesystem::create_directory(folder);
  TVkReg reg(folder + "/u.vkr");
  std::filesystem::remove_all(folder);
  try {
    reg.WriteString("a", "1");
    ADD_FAILURE() << "no failure";
  } catch (const EVkError& e) {
    EXPECT_NE(std::string(e.what()).find(folder + "/u.vkr"), std::string::npos) << e.what();
  }
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
