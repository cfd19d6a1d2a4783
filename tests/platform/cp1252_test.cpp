#include "platform/cp1252.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUtf8) {
  std::string all;
  for (int i = 1; i < 256; ++i) all += static_cast<char>(i);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, ConvertsTheWindowsOnlyCharacters) {
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20AC");
  EXPECT_EQ(Cp1252ToUtf8("Gr\xFC\xDF" "e"), "Grüße");
  EXPECT_EQ(Utf8ToCp1252("Grüße €"), "Gr\xFC\xDF" "e \x80");
  EXPECT_EQ(Utf8ToCp1252("日本"), "??");
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");  // cut-off sequence
  EXPECT_EQ(Utf8ToCp1252("\xFFx"), "?x");
}

TEST(Cp1252, CaseMappingFollowsWindows1252Letters) {
  struct Case { char lower, upper; } pairs[] = {
      {'a', 'A'}, {'\xE4', '\xC4'}, {'\x9A', '\x8A'}, {'\x9C', '\x8C'},
      {'\x9E', '\x8E'}, {'\xFF', '\x9F'}, {'\xFE', '\xDE'}};
  for (auto [low, up] : pairs) {
    EXPECT_EQ(UpperCp1252(low), up);
    EXPECT_EQ(LowerCp1252(up), low);
  }
  for (char same : {'\xDF', '\xB5', '\x83', '\xF7', '\xD7', '1'}) {
    EXPECT_EQ(UpperCp1252(same), same);
    EXPECT_EQ(LowerCp1252(same), same);
  }
}

TEST(Cp1252, ComparesIgnoringCase) {
  EXPECT_TRUE(EqualsIgnoreCase("\xC4rger", "\xE4RGER"));
  EXPECT_FALSE(EqualsIgnoreCase("abc", "abcd"));
  EXPECT_LT(CompareIgnoreCase("abc", "ABD"), 0);
  EXPECT_LT(CompareIgnoreCase("ab", "ABC"), 0);
  EXPECT_EQ(FindIgnoreCase("Hello World", "WORLD"), 6u);
  EXPECT_EQ(FindIgnoreCase("Hello", "xyz"), std::string_view::npos);
}

}  // namespace
}  // namespace vork
