// The stored form of the settings store, checked against bytes written out by
// hand, and the failures of malformed files.

#include "users/reg_file.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/errors.h"
#include "users/reg.h"
#include "users/scratch.h"

namespace vork {
namespace {

using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;
using namespace std::string_literals;

std::string Int32(int32_t value) {
  auto bits = static_cast<uint32_t>(value);
  return {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
          static_cast<char>((bits >> 16) & 0xFF), static_cast<char>(bits >> 24)};
}

std::string Str(const std::string& text) { return Int32(static_cast<int32_t>(text.size())) + text; }

std::string Item(const std::string& name, const std::string& type, const std::string& value) {
  return Str(name) + Str(type) + Str(value);
}

TEST(RegFile, StoreWritesTheDocumentedLayoutByteForByte) {
  ScratchDir dir;
  std::string path = dir / "u.vkr";
  {
    TVkReg reg(path);
    reg.WriteString("b", "x");
    reg.WriteString("\xE4", "umlaut");  // sorts after every ASCII name
    reg.WriteBool("a", true);
    reg.WriteString("B", "");
  }
  // Sorted by unsigned bytes: "B" (0x42) < "a" < "b" < "\xE4".
  const std::string expected =
      "VKR1"
      "\x04\x00\x00\x00"
      "\x01\x00\x00\x00" "B"    "\x01\x00\x00\x00" "S"  "\x00\x00\x00\x00"
      "\x01\x00\x00\x00" "a"    "\x01\x00\x00\x00" "B"  "\x01\x00\x00\x00" "1"
      "\x01\x00\x00\x00" "b"    "\x01\x00\x00\x00" "S"  "\x01\x00\x00\x00" "x"
      "\x01\x00\x00\x00" "\xE4" "\x01\x00\x00\x00" "S"  "\x06\x00\x00\x00" "umlaut"s;
  EXPECT_EQ(ReadBytes(path), expected);
}

TEST(RegFile, ReadsWhatTheLayoutAllows) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<TVkRegItem> items;
  } cases[] = {
      {"no items", "VKR1" + Int32(0), {}},
      {"negative count", "VKR1" + Int32(-5) + Item("a", "S", "1"), {}},
      {"negative lengths read as empty strings",
       "VKR1" + Int32(1) + Str("a") + Int32(-1) + Int32(INT32_MIN), {{"a", "", ""}}},
      {"unsorted items are sorted",
       "VKR1" + Int32(2) + Item("b", "S", "2") + Item("a", "S", "1"),
       {{"a", "S", "1"}, {"b", "S", "2"}}},
      {"a repeated name keeps the later item",
       "VKR1" + Int32(3) + Item("k", "S", "first") + Item("j", "B", "1") + Item("k", "B", "0"),
       {{"j", "B", "1"}, {"k", "B", "0"}}},
      {"bytes after the last item are ignored",
       "VKR1" + Int32(1) + Item("a", "S", "1") + "junk", {{"a", "S", "1"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TVkRegItems items = DecodeRegFile(c.bytes, "f.vkr");
    EXPECT_EQ(std::vector<TVkRegItem>(items.begin(), items.end()), c.items);
  }
}

TEST(RegFile, MalformedFilesFailWithAMessageInsteadOfCrashing) {
  const std::string corrupt = "Unsupported or corrupt user data file";
  struct Case {
    const char* what;
    std::string bytes;
    std::string message;  // the whole message, or a part of it after "..."
  } cases[] = {
      {"empty file", "", corrupt},
      {"wrong magic", "VKR2" + Int32(0), corrupt},
      {"lower-case magic", "vkr1" + Int32(0), corrupt},
      {"no count", "VKR1", "...ends inside the item count"},
      {"count cut short", "VKR1\x01\x00", "...ends inside the item count"},
      {"fewer items than counted", "VKR1" + Int32(2) + Item("a", "S", "1"),
       "...ends inside the name of item 2 of 2"},
      {"huge count, no items", "VKR1" + Int32(INT32_MAX), "...item 1 of 2147483647"},
      {"length beyond the end", "VKR1" + Int32(1) + Str("a") + Str("S") + Int32(INT32_MAX) + "xy",
       "...ends inside the value of item 1 of 1 (2147483647 bytes wanted at offset 22, 2 left)"},
      {"value cut short", "VKR1" + Int32(1) + Str("a") + Str("S") + Int32(5) + "abc",
       "...the value of item 1 of 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      DecodeRegFile(c.bytes, "/users/Mary.vkr");
      ADD_FAILURE() << "no failure";
    } catch (const EVkError& e) {
      std::string message = e.what();
      if (c.message.starts_with("...")) {
        EXPECT_TRUE(message.starts_with("Stream read error: user data file \"/users/Mary.vkr\""))
            << message;
        EXPECT_NE(message.find(c.message.substr(3)), std::string::npos) << message;
      } else {
        EXPECT_EQ(message, c.message);
      }
    }
  }
}

TEST(RegFile, CorruptFileIsNeitherUsedNorOverwritten) {
  ScratchDir dir;
  std::string path = dir / "u.vkr";
  for (const std::string& bytes : {std::string("XXXX") + Int32(0), "VKR1" + Int32(1) + Str("a")}) {
    WriteBytes(path, bytes);
    EXPECT_THROW(TVkReg reg(path), EVkError);
    EXPECT_EQ(ReadBytes(path), bytes);
  }
}

TEST(RegFile, UnreadableFileNamesTheFile) {
  ScratchDir dir;
  std::string path = dir / "folder.vkr";
  std::filesystem::create_directory(path);
  try {
    TVkReg reg(path);
    ADD_FAILURE() << "no failure";
  } catch (const EVkError& e) {
    EXPECT_NE(std::string(e.what()).find("Cannot read user data file \"" + path + "\""),
              std::string::npos)
        << e.what();
  }
}

// The items are put in order only when read back; every change between two
// readings must show in the second.
TEST(RegItems, ReadBackInOrderAfterEveryKindOfChange) {
  auto listed = [](const TVkRegItems& items) { return std::vector<TVkRegItem>(items.begin(), items.end()); };
  TVkRegItems items;
  for (const char* name : {"m", "c", "x", "a"}) items.Insert({name, "S", name});
  EXPECT_EQ(listed(items), (std::vector<TVkRegItem>{{"a", "S", "a"}, {"c", "S", "c"}, {"m", "S", "m"}, {"x", "S", "x"}}));

  items.Insert({"c", "B", "1"});  // replaced in place
  items.Insert({"b", "S", "new"});
  EXPECT_EQ(items.RemoveIf([](const TVkRegItem& item) { return item.name == "m"; }), 1u);
  TVkRegItems copy = items;
  items.Insert({"\xE4", "S", "last"});
  const std::vector<TVkRegItem> expected{{"a", "S", "a"}, {"b", "S", "new"}, {"c", "B", "1"}, {"x", "S", "x"}};
  EXPECT_EQ(listed(copy), expected);
  std::vector<TVkRegItem> with_last = expected;
  with_last.push_back({"\xE4", "S", "last"});
  EXPECT_EQ(listed(items), with_last);
  ASSERT_NE(items.Find("c"), nullptr);
  EXPECT_EQ(items.Find("c")->value, "1");

  items.Clear();
  EXPECT_TRUE(listed(items).empty());
}

}  // namespace
}  // namespace vork
