#include "bridge/script_helpers.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(ScriptHelpersTest, KeyCodeOfReadsOneCharacterOrTwoHexDigits) {
  struct Case {
    const char* text;
    int32_t code;
  };
  const Case cases[] = {
      {"A", 65}, {"$41", 65}, {"$ff", 255}, {"\xE9", 0xE9}, {"AB", 0}, {"", 0}, {"$4", 0}, {"$4G", 0}, {"$412", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(KeyCodeOf(c.text), c.code) << c.text;
}

TEST(ScriptHelpersTest, TagMatchLooksForAWholeName) {
  struct Case {
    const char* tags;
    const char* tag;
    bool match;
  };
  const Case cases[] = {
      {"red|blue", "blue", true}, {"red|blue", "blu", false}, {"red|blue", "", true},
      {"red|blue", "red|blue", true}, {"red|blue", "Red", false}, {"", "red", false},
  };
  for (const Case& c : cases) EXPECT_EQ(TagMatch(c.tags, c.tag), c.match) << c.tags << " / " << c.tag;
}

TEST(ScriptHelpersTest, ShiftWordKeepsTheSevenStateBits) {
  EXPECT_EQ(ShiftWord(kShiftKey | kControlKey | kDoubleClick), 1 + 4 + 64);
  EXPECT_EQ(ShiftWord(0xFFFFFFFFu), 127);
}

}  // namespace
}  // namespace vork
