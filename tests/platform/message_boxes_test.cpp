#include "platform/message_boxes.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/errors.h"

namespace vork {
namespace {

TEST(TranscriptBoxes, WritesOneLinePerBoxWithLineBreaksEscaped) {
  std::ostringstream out;
  TranscriptAnswers answers;
  TranscriptBoxes boxes(out, answers);
  boxes.Show(BoxKind::Info, "one\r\ntwo\rthree\nfour \xE4", BoxButtons::Ok);
  boxes.Show(BoxKind::Plain, "x", BoxButtons::Ok);
  EXPECT_EQ(out.str(), "info: one\\ntwo\\nthree\\nfour ä\nplain: x\n");
}

TEST(TranscriptBoxes, AnswersInOrderAndFallsBackToTheFirstButton) {
  std::ostringstream out;
  TranscriptAnswers answers("no,cancel,yes");
  TranscriptBoxes boxes(out, answers);
  EXPECT_EQ(boxes.Show(BoxKind::Question, "q1", BoxButtons::YesNo), BoxResult::No);
  // "cancel" is not a button of a yes/no box: the first button answers.
  EXPECT_EQ(boxes.Show(BoxKind::Question, "q2", BoxButtons::YesNo), BoxResult::Yes);
  EXPECT_EQ(boxes.Show(BoxKind::Question, "q3", BoxButtons::YesNoCancel), BoxResult::Yes);
  // No answer left.
  EXPECT_EQ(boxes.Show(BoxKind::Question, "q4", BoxButtons::YesNo), BoxResult::Yes);
  EXPECT_EQ(boxes.Show(BoxKind::Error, "e", BoxButtons::Ok), BoxResult::Ok);
}

TEST(FatalInternalError, ShowsTheBoxAndEndsTheProgram) {
  EXPECT_EXIT(FatalInternalError("TVkObject: Unknown msg (ClassIndex=3 MsgIndex=7)"),
              testing::ExitedWithCode(3),
              "error: INTERNAL ERROR \\(TVkObject: Unknown msg \\(ClassIndex=3 MsgIndex=7\\)\\)");
}

}  // namespace
}  // namespace vork
