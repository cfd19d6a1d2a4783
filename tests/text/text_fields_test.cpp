#include "text/text_fields.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/errors.h"

namespace vork {
namespace {

TEST(TextFields, CountsFieldsAsSeparatorsPlusOneExceptForEmptyText) {
  EXPECT_EQ(FieldCount("", ','), 0);
  EXPECT_EQ(FieldCount(",", ','), 2);
  EXPECT_EQ(FieldCount("a", ','), 1);
  EXPECT_EQ(FieldCount("a,,c", ','), 3);
  EXPECT_EQ(FieldCount("a;b", ','), 1);
}

TEST(TextFields, PicksTheFieldWithAZeroBasedIndex) {
  struct Case { const char* text; int index; const char* field; } cases[] = {
      {"a,b,c", 0, "a"}, {"a,b,c", 2, "c"}, {"a,,c", 1, ""},  {"a,b", 2, ""},
      {"a,b", -1, ""},   {"", 0, ""},       {",", 1, ""},     {"a;b", 0, "a;b"},
      {"a,b,", 2, ""},   {"a,b", INT_MAX, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Field(c.text, ',', c.index), c.field) << c.text << " index " << c.index;
  }
}

TEST(TextFields, SeparatorMayBeAnyByte) {
  EXPECT_EQ(Field("x\xA7y\xA7z", '\xA7', 1), "y");
  EXPECT_EQ(Field("x\ty", '\t', 1), "y");
}

TEST(TextFields, ReplacesOneFieldAndPadsWithEmptyFieldsPastTheEnd) {
  struct Case { const char* text; int index; const char* replacement; const char* result; } cases[] = {
      {"a,b,c", 1, "X", "a,X,c"}, {"a,b,c", 0, "", ",b,c"},  {"a,b,c", 2, "X", "a,b,X"},
      {"a,b", 3, "X", "a,b,,X"},  {"", 2, "x", ",,x"},       {"", 0, "x", "x"},
      {"a,b", -1, "X", "a,b"},    {",", 1, "X", ",X"},       {"a", 0, "x,y", "x,y"},
      {"a,,c", 1, "b", "a,b,c"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceField(c.text, ',', c.index, c.replacement), c.result)
        << c.text << " index " << c.index;
  }
}

TEST(TextFields, RefusesAFieldIndexThatWouldBuildAHugeText) {
  EXPECT_THROW(ReplaceField("", ',', INT_MAX, "x"), EVkError);
  EXPECT_EQ(ReplaceField("a,b", ',', 1000, "x").size(), 1000u + 3);  // 1000 separators, a, b, x
}

}  // namespace
}  // namespace vork
