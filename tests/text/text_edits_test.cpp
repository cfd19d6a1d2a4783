#include "text/text_edits.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/errors.h"

namespace vork {
namespace {

TEST(TextEdits, FindsTheFirstOccurrenceCaseSensitively) {
  struct Case { const char *sub, *text; int position; } cases[] = {
      {"lo", "hello lo", 3}, {"h", "hello", 0},  {"H", "hello", -1},
      {"", "hello", -1},     {"hello!", "hello", -1}, {"\xE4", "b\xE4r", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(PositionOf(c.sub, c.text), c.position) << c.sub;
}

TEST(TextEdits, CopiesAndDeletesWithAnswersForEveryOutOfRangeCount) {
  struct Case { int index, count; const char *copied, *left; } cases[] = {
      {1, 3, "ell", "ho"},       {3, 10, "lo", "hel"},     {0, 5, "hello", ""},
      {5, 1, "", "hello"},       {-2, 2, "he", "hello"},   {1, 0, "", "hello"},
      {1, -1, "", "hello"},      {INT_MAX, 1, "", "hello"}, {4, INT_MAX, "o", "hell"},
      {INT_MIN, INT_MAX, "hello", "hello"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CopyBytes("hello", c.index, c.count), c.copied) << c.index << "," << c.count;
    EXPECT_EQ(DeleteBytes("hello", c.index, c.count), c.left) << c.index << "," << c.count;
  }
}

TEST(TextEdits, ReplacesEveryOccurrenceLeftToRight) {
  struct Case { const char *text, *from, *to, *result; } cases[] = {
      {"a-b-c", "-", "+", "a+b+c"}, {"aaa", "aa", "b", "ba"},   {"abc", "", "x", "abc"},
      {"abc", "B", "x", "abc"},     {"aXa", "a", "aa", "aaXaa"}, {"", "a", "b", ""},
      {"x--y", "-", "", "xy"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceAll(c.text, c.from, c.to), c.result) << c.text;
}

TEST(TextEdits, ReadsDecimalAndDollarHexadecimalIntegers) {
  struct Case { const char* text; std::int32_t value; } cases[] = {
      {"42", 42},           {"-12", -12},          {"+7", 7},
      {" 5 ", 5},           {"$FF", 255},          {"$ff", 255},
      {"-$10", -16},        {"$FFFFFFFF", -1},     {"$80000000", INT_MIN},
      {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"007", 7},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
}

TEST(TextEdits, RefusesAnythingElseNamingTheText) {
  for (const char* bad : {"", " ", "abc", "1.5", "1e3", "0x10", "$", "$G", "--1", "$-1", "12a",
                          "2147483648", "-2147483649", "$100000000", "1 2"}) {
    try {
      ParseInteger(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const EVkError& error) {
      EXPECT_EQ(error.what(), std::string("'") + bad + "' is not a valid integer value");
    }
  }
}

TEST(TextEdits, WritesUpperCaseHexadecimalOfTheWordsBits) {
  struct Case { std::int32_t value; int digits; const char* text; } cases[] = {
      {255, 4, "00FF"}, {255, 1, "FF"},        {0, 0, "0"},   {-1, 2, "FFFFFFFF"},
      {10, -3, "A"},    {INT_MIN, 10, "0080000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(HexText(c.value, c.digits), c.text) << c.value;
  EXPECT_THROW(HexText(1, INT_MAX), EVkError);
}

TEST(TextEdits, ChangesOnlyTheExtensionOfTheLastPathPart) {
  struct Case { const char *name, *extension, *result; } cases[] = {
      {"rec.wav", ".ogg", "rec.ogg"},
      {"a.b.c", ".x", "a.b.x"},
      {"rec", ".wav", "rec.wav"},
      {"rec.wav", "", "rec"},
      {"dir.v1/rec", ".wav", "dir.v1/rec.wav"},
      {"dir.v1\\rec", ".wav", "dir.v1\\rec.wav"},
      {"", ".wav", ".wav"},
  };
  for (const auto& c : cases) EXPECT_EQ(ChangeExtension(c.name, c.extension), c.result) << c.name;
}

}  // namespace
}  // namespace vork
