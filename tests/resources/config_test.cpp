// The course configuration file.

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "resources/config.h"

namespace vork {
namespace {

TEST(Config, DefaultsWithoutAnyLines) {
  TVkConfig config({});
  EXPECT_EQ(config.SceneWidth(), 640);
  EXPECT_EQ(config.SceneHeight(), 480);
  EXPECT_TRUE(config.RequireMediaDir());
  EXPECT_EQ(config.ProductName(), "");
}

TEST(Config, ReadsEachSettingWithTheLastLineWinning) {
  TVkConfig config({"; course settings",
                    "setSceneWidth 800",
                    "SetSceneWidth 900",  // another command: letter case matters
                    "setSceneWidth  1024  ",
                    "setSceneHeight +600",
                    "setSceneWidthX 1",
                    "setRequireMediaDir false",
                    "setProductName \"Spanish for  Travellers\"",
                    "unknownCommand \"unclosed"});
  EXPECT_EQ(config.SceneWidth(), 1024);
  EXPECT_EQ(config.SceneHeight(), 600);
  EXPECT_FALSE(config.RequireMediaDir());
  EXPECT_EQ(config.ProductName(), "Spanish for  Travellers");
}

TEST(Config, TokensMayBeQuotedWithEitherQuoteCharacter) {
  struct Case {
    const char* line;
    const char* value;
  };
  const Case cases[] = {
      {"setProductName Plain", "Plain"},
      {"setProductName `Back quoted \"inside\"`", "Back quoted \"inside\""},
      {"setProductName \"it's\"", "it's"},
      {"setProductName \"\"", ""},
      {"setProductName", ""},  // no blank after the command: not a setting line
  };
  for (const auto& c : cases) EXPECT_EQ(ConfigValue({c.line}, "setProductName", ""), c.value) << c.line;
}

TEST(Config, MalformedSettingsFailWithTheirTexts) {
  struct Case {
    const char* line;
    const char* message;  // nullptr: an assertion failure
  };
  const Case cases[] = {
      {"setRequireMediaDir True", "Invalid Boolean value \"True\" (must be \"true\" or \"false\")"},
      {"setProductName \"never closed", "Quotation mismatch: \"never closed"},
      {"setSceneWidth 8OO", "'8OO' is not a valid integer value"},
      {"setSceneWidth 99999999999", "'99999999999' is not a valid integer value"},
      {"setSceneWidth 0", "Invalid scene size \"0\" for setSceneWidth in vork.cfg (must be 1 to 16384)"},
      {"setSceneHeight -480", "Invalid scene size \"-480\" for setSceneHeight in vork.cfg (must be 1 to 16384)"},
      {"setSceneWidth 800 600", nullptr},
      {"setSceneWidth ", nullptr},
  };
  for (const auto& c : cases) {
    try {
      TVkConfig config({c.line});
      ADD_FAILURE() << c.line << " was accepted";
    } catch (const EVkAssertion& error) {
      EXPECT_EQ(c.message, nullptr) << c.line;
    } catch (const EVkError& error) {
      ASSERT_NE(c.message, nullptr) << c.line << ": " << error.what();
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace vork
