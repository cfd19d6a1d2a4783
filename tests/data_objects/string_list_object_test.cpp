// String list objects through the message protocol, as the bytecode uses them.

#include <gtest/gtest.h>

#include <vector>

#include "data_objects/string_list_object.h"
#include "support/objects_fixture.h"

namespace vork::testing {
namespace {

class StringListTest : public ObjectsTest {
 protected:
  int32_t list = Create(ClassIndex::StringList);

  TVkStringListObject& List(int32_t handle) { return StringListAt(*manager, handle); }
  std::vector<TVkListLine>& Lines() { return List(list).Lines(); }
  void Fill(std::vector<TVkListLine> lines) { Lines() = std::move(lines); }
  std::vector<std::string> Texts() { return List(list).Texts(); }
};

struct SplitCase {
  const char* text;
  const char* separator;
  std::vector<std::string> lines;
};

TEST_F(StringListTest, SplitCutsAtEverySeparatorButTheLast) {
  const SplitCase cases[] = {
      {",a,,b,", ",", {"", "a", "", "b"}},
      {"xabyab", "ab", {"x", "y"}},
      {"a::b", "::", {"a", "b"}},
      {"a:b", "::", {"a:b"}},
      {"a,b", "", {"a,b"}},
      {"", ",", {}},
      {",", ",", {""}},
      {",,", ",", {"", ""}},
      {"aaa", "aa", {"", "a"}},
  };
  for (const SplitCase& c : cases) {
    Fill({{"old", 1}});
    Send(list, StringListMessage::Split, {NewString(c.text), NewString(c.separator)});
    EXPECT_EQ(Texts(), c.lines) << "'" << c.text << "' at '" << c.separator << "'";
    EXPECT_EQ(stack.Length(), 0);
  }
}

TEST_F(StringListTest, JoinPutsSeparatorsBetweenLinesOnly) {
  EXPECT_EQ(SendForString(list, StringListMessage::Join, {NewString(",")}), "");
  Fill({{"", 0}});
  EXPECT_EQ(SendForString(list, StringListMessage::Join, {NewString(",")}), "");
  Fill({{"a", 0}, {"", 0}, {"b", 0}});
  EXPECT_EQ(SendForString(list, StringListMessage::Join, {NewString(", ")}), "a, , b");
  EXPECT_EQ(SendForString(list, StringListMessage::Join, {NewString("")}), "ab");
  // Join reverses split for a text that does not end with the separator.
  Send(list, StringListMessage::Split, {NewString(";x;;y"), NewString(";")});
  EXPECT_EQ(SendForString(list, StringListMessage::Join, {NewString(";")}), ";x;;y");
}

TEST_F(StringListTest, AddInsertReplaceAndDeleteKeepTheWordsWithTheirLines) {
  Send(list, StringListMessage::Add, {NewString("b")});
  Send(list, StringListMessage::AddWithWord, {NewString("d"), 40});
  Send(list, StringListMessage::Insert, {0, NewString("a")});
  Send(list, StringListMessage::InsertWithWord, {2, NewString("c"), 30});
  Send(list, StringListMessage::InsertWithWord, {4, NewString("e"), 50});  // index = count appends
  Send(list, StringListMessage::AppendWithWord, {NewString("f"), 60});
  Send(list, StringListMessage::Set, {3, NewString("D")});       // the word stays
  Send(list, StringListMessage::Remove, {1});
  EXPECT_EQ(Lines(), (std::vector<TVkListLine>{{"a", 0}, {"c", 30}, {"D", 40}, {"e", 50}, {"f", 60}}));
  EXPECT_EQ(SendForWord(list, StringListMessage::Count), 5);
  EXPECT_EQ(SendForString(list, StringListMessage::Get, {2}), "D");
  EXPECT_EQ(SendForWord(list, StringListMessage::WordAt, {2}), 40);
  Send(list, StringListMessage::Clear);
  EXPECT_EQ(SendForWord(list, StringListMessage::Count), 0);
}

TEST_F(StringListTest, IndexOfAndNamedValuesIgnoreWindows1252LetterCase) {
  Fill({{"colour", 0}, {"\xC4pfel", 0}, {"Colour=Red", 0}, {"colour=blue", 0}, {"n=$1F", 0},
        {"=empty name", 0}, {"size= 12", 0}});
  EXPECT_EQ(SendForWord(list, StringListMessage::IndexOf, {NewString("\xE4PFEL")}), 1);
  EXPECT_EQ(SendForWord(list, StringListMessage::IndexOf, {NewString("COLOUR")}), 0);
  EXPECT_EQ(SendForWord(list, StringListMessage::IndexOf, {NewString("colour=")}), -1);
  // The first named value counts; a line without "=" names nothing.
  EXPECT_EQ(SendForString(list, StringListMessage::Value, {NewString("COLOUR")}), "Red");
  EXPECT_EQ(SendForString(list, StringListMessage::Value, {NewString("colou")}), "");
  EXPECT_EQ(SendForString(list, StringListMessage::Value, {NewString("")}), "empty name");
  EXPECT_EQ(SendForWord(list, StringListMessage::NumberValue, {NewString("N")}), 31);
  EXPECT_EQ(SendForWord(list, StringListMessage::NumberValue, {NewString("size")}), 12);
}

TEST_F(StringListTest, NumbersAreDecimalOrHexadecimalAfterDollar) {
  Fill({{"42", 0}, {"-7", 0}, {"$ff", 0}, {"$FFFFFFFF", 0}, {"4x", 0}, {"", 0}});
  EXPECT_EQ(SendForWord(list, StringListMessage::Number, {0}), 42);
  EXPECT_EQ(SendForWord(list, StringListMessage::Number, {1}), -7);
  EXPECT_EQ(SendForWord(list, StringListMessage::Number, {2}), 255);
  EXPECT_EQ(SendForWord(list, StringListMessage::Number, {3}), -1);
  ExpectFailure(list, StringListMessage::Number, {4}, "'4x' is not a valid integer value");
  ExpectFailure(list, StringListMessage::Number, {5}, "'' is not a valid integer value");
  ExpectFailure(list, StringListMessage::NumberValue, {NewString("missing")}, "'' is not a valid integer value");
}

TEST_F(StringListTest, SortIgnoresCaseAndKeepsEqualLinesInOrder) {
  Fill({{"b", 1}, {"\xE4", 2}, {"B", 3}, {"a", 4}, {"\xC4", 5}, {"A", 6}});
  Send(list, StringListMessage::Sort);
  // Letter case aside, bytes order as unsigned values: "ä" (0xE4) after "b".
  EXPECT_EQ(Lines(), (std::vector<TVkListLine>{{"a", 4}, {"A", 6}, {"b", 1}, {"B", 3}, {"\xE4", 2}, {"\xC4", 5}}));
}

TEST_F(StringListTest, AssignAndAddAllCopyLinesWithWordsAndMayNameThemselves) {
  const int32_t other = Create(ClassIndex::StringList);
  StringListAt(*manager, other).Lines() = {{"x", 7}, {"y", 8}};
  Fill({{"old", 1}});
  Send(list, StringListMessage::Assign, {other});
  Send(list, StringListMessage::AddAll, {list});
  EXPECT_EQ(Lines(), (std::vector<TVkListLine>{{"x", 7}, {"y", 8}, {"x", 7}, {"y", 8}}));
  Send(list, StringListMessage::AddAll, {other});
  Send(list, StringListMessage::Assign, {list});
  EXPECT_EQ(Lines().size(), 6u);
  EXPECT_TRUE(manager->IsLive(other)) << "the other list is kept";
}

TEST_F(StringListTest, ListArgumentsMustBeLiveStringLists) {
  const int32_t vars = Create(ClassIndex::Vars);
  const std::string not_a_list = "string list argument " + HandleText(vars) + " is not a live string list";
  ExpectFailure(list, StringListMessage::AddAll, {vars}, not_a_list);
  ExpectFailure(list, StringListMessage::Assign, {vars}, not_a_list);
  ExpectFailure(list, StringListMessage::Assign, {0}, "string list argument $00000000 is not a live string list");
}

// Every message that takes an index refuses one outside the list (an
// insert may append), names it, pops its arguments and leaves the list as
// it was.
TEST_F(StringListTest, IndexOutsideTheListFailsAndChangesNothing) {
  struct Case {
    int32_t message;
    int32_t index;
    bool with_text;
    bool with_word;
  };
  const Case cases[] = {
      {4, 2, false, false},  {4, -1, false, false}, {7, 2, false, false},   {8, 2, true, false},
      {12, 2, false, false}, {17, 2, false, false}, {17, -1, false, false}, {5, 3, true, false},
      {5, -1, true, false},  {16, 3, true, true},   {16, -2147483647 - 1, true, true},
  };
  const std::vector<TVkListLine> before{{"1", 10}, {"2", 20}};
  for (const Case& c : cases) {
    Fill(before);
    SCOPED_TRACE("message " + std::to_string(c.message) + " index " + std::to_string(c.index));
    const std::string error = "List index out of bounds (" + std::to_string(c.index) + ")";
    if (c.with_word) ExpectFailure(list, c.message, {c.index, NewString("x"), 5}, error);
    else if (c.with_text) ExpectFailure(list, c.message, {c.index, NewString("x")}, error);
    else ExpectFailure(list, c.message, {c.index}, error);
    EXPECT_EQ(Lines(), before);
  }
  EXPECT_EQ(manager->Count(), 1) << "the popped strings were consumed";
}

TEST_F(StringListTest, ReleaseLeavesObjectsNamedByWordsAlone) {
  const int32_t other = Create(ClassIndex::StringList);
  Send(list, StringListMessage::AddWithWord, {NewString("other"), other});
  Send(list, CommonMessage::Destroy);
  EXPECT_TRUE(manager->IsLive(other));
  EXPECT_EQ(Boxes(), "");
}

}  // namespace
}  // namespace vork::testing
