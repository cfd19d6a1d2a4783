// The send-keys notation a course writes its keystrokes in.

#include "install/send_keys.h"

#include <gtest/gtest.h>

namespace vork::testing {
namespace {

// Strokes written compactly: "a" a character, "#13" a virtual key, with
// "S", "C", "A" in front for the modifiers held.
std::string Written(const ParsedKeys& parsed) {
  std::string text;
  for (const KeyStroke& key : parsed.keys) {
    if (!text.empty()) text += ' ';
    if (key.shift) text += 'S';
    if (key.control) text += 'C';
    if (key.alt) text += 'A';
    if (key.virtual_key) text += "#" + std::to_string(key.virtual_key);
    else text += static_cast<char>(key.character);
  }
  return text;
}

TEST(SendKeys, Notation) {
  struct Case {
    const char* keys;
    const char* strokes;
  };
  const Case cases[] = {
      {"ab", "a b"},
      {"+ab", "Sa b"},
      {"^%x", "CAx"},
      {"+(ab)c", "Sa Sb c"},
      {"^(+(a)b)", "SCa Cb"},
      {"~", "#13"},
      {"{ENTER}{tab}{F5}{f16}", "#13 #9 #116 #127"},
      {"{LEFT 3}", "#37 #37 #37"},
      {"{x 2}", "x x"},
      {"{{}{}}{+}{~}{(}", "{ } + ~ ("},
      {"+{HOME}", "S#36"},
      {"{a 0}b", "b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    const ParsedKeys parsed = ParseSendKeys(c.keys);
    EXPECT_EQ(parsed.error, SendKeysError::None);
    EXPECT_EQ(Written(parsed), c.strokes);
  }
}

TEST(SendKeys, MalformedTextSendsNothing) {
  struct Case {
    const char* keys;
    SendKeysError error;
  };
  const Case cases[] = {
      {"ab{ENTER", SendKeysError::NoClose},
      {"{", SendKeysError::NoClose},
      {"a{NOSUCHKEY}", SendKeysError::InvalidKeyName},
      {"{}", SendKeysError::InvalidKeyName},
      {"{F17}", SendKeysError::InvalidKeyName},
      {"{LEFT x}", SendKeysError::InvalidKeyName},
      {"a\x01", SendKeysError::InvalidKeyName},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    const ParsedKeys parsed = ParseSendKeys(c.keys);
    EXPECT_EQ(parsed.error, c.error);
    EXPECT_TRUE(parsed.keys.empty());
  }
  EXPECT_STREQ(SendKeysErrorText(SendKeysError::NoClose), "No Close");
  EXPECT_STREQ(SendKeysErrorText(SendKeysError::InvalidKeyName), "Invalid KeyName");
}

TEST(SendKeys, RepeatsAreBounded) {
  EXPECT_EQ(ParseSendKeys("{a 99999999999}").keys.size(), static_cast<size_t>(kMaxKeyRepeat));
  std::string many;
  for (int i = 0; i < 20; ++i) many += "{b 1000}";
  EXPECT_EQ(ParseSendKeys(many).keys.size(), kMaxKeys);
}

}  // namespace
}  // namespace vork::testing
