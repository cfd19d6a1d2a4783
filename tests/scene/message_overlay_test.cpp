// The lines of the message overlay: numbering, the five-line window, and the
// texts that switch it off and on.

#include "stage_fixture.h"

namespace vork::testing {
namespace {

std::vector<std::string> Texts(const TBackground& stage) {
  std::vector<std::string> texts;
  for (const auto& line : stage.Overlay().Lines()) texts.push_back(line.text);
  return texts;
}

TEST(MessageOverlay, KeepsTheLastFiveNumberedMessages) {
  TVkBackground stage;
  for (char digit = '1'; digit <= '6'; ++digit) stage.AddOverlayMessage(0, std::string{'m', digit});
  const std::vector<std::string> expected{"2) m2 ", "3) m3 ", "4) m4 ", "5) m5 ", "6) m6 "};
  EXPECT_EQ(Texts(stage), expected);
  EXPECT_EQ(stage.Overlay().Counter(), 6);
}

TEST(MessageOverlay, SwitchTextsAreNotMessages) {
  TVkBackground stage;
  stage.AddOverlayMessage(0, "first");
  stage.AddOverlayMessage(1, "<MSG_LOG_OFF>");
  EXPECT_FALSE(stage.Overlay().Visible());
  stage.AddOverlayMessage(1, "second");  // still kept while hidden
  stage.AddOverlayMessage(2, "<MSG_LOG_ON>");
  EXPECT_TRUE(stage.Overlay().Visible());
  stage.AddOverlayMessage(0, "<msg_log_off>");  // only the exact text switches
  const std::vector<std::string> expected{"1) first ", "2) second ", "3) <msg_log_off> "};
  EXPECT_EQ(Texts(stage), expected);
}

TEST(MessageOverlay, QuotesAreUnescapedAndDebugMessagesWrapped) {
  struct Case {
    int kind;
    std::string text;
    std::string line;
  } cases[] = {
      {0, "say \\''hi\\''", "1) say \"hi\" "},
      {2, "x=\\''5\\''", "2) debugMsg=\"x=\"5\"\" "},
      {1, "\\'", "3) \\' "},            // too short to be the escape
      {0, "\\'''", "4) \"' "},          // the first three characters only
      {7, "other", "5) other "},       // only kind 2 is wrapped
      {2, "", "6) debugMsg=\"\" "},
  };
  TVkBackground stage;
  for (const Case& c : cases) {
    stage.AddOverlayMessage(c.kind, c.text);
    EXPECT_EQ(stage.Overlay().Lines().back().text, c.line) << c.text;
    EXPECT_EQ(stage.Overlay().Lines().back().kind, c.kind);
  }
}

}  // namespace
}  // namespace vork::testing
