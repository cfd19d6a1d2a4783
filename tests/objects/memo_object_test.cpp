// The memo object as the bytecode drives it: its message table on a real
// object manager and stage, the stack protocol of every message, and the
// control's life with its scene.

#include "objects/memo_object.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>
#include <QPointer>
#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "support/memo_test_support.h"
#include "objects/rtf/rich_edit.h"
#include "scene/background.h"
#include "scene/view.h"
#include "support/test_machine.h"

namespace vork::testing {
namespace {

// A stage that is never shown, made before the machine that is given it.
struct HiddenStage {
  TVkView view{nullptr, QSize(640, 480)};
};

class MemoObjectTest : public ::testing::Test, protected HiddenStage, public TestMachine {
 protected:
  MemoObjectTest() : TestMachine(&view) {}

  void SetUp() override {
    manager->RegisterClass<TVkMemoObject>(9);
    memo = manager->CreateObject(9);
    edit = dynamic_cast<TVkMemoObject&>(*manager->Find(memo)).RichEdit();
    ASSERT_NE(edit, nullptr);
  }

  // Pushes the arguments in the order a course writes them, sends the
  // message and answers what it left on the stack.
  std::vector<int32_t> Send(int32_t message, std::vector<int32_t> arguments = {}) {
    for (int32_t word : arguments) stack.Push(word);
    manager->SendMsg(memo, message);
    std::vector<int32_t> results;
    while (stack.Length() > 0) results.push_back(stack.Pop());
    std::reverse(results.begin(), results.end());
    return results;
  }

  int32_t memo = 0;
  TVkRichEdit* edit = nullptr;
};

TEST_F(MemoObjectTest, MessagesReachTheControlAndKeepTheStackProtocol) {
  using Results = std::vector<int32_t>;
  EXPECT_EQ(edit->parentWidget(), view.Background());
  EXPECT_EQ(edit->geometry(), QRect(0, 0, 100, 100));

  // Written left, top, width, height; popped the other way round.
  EXPECT_EQ(Send(0, {10, 20, 300, 150}), Results{});
  EXPECT_EQ(edit->geometry(), QRect(10, 20, 300, 150));

  EXPECT_EQ(Send(1), Results{1});
  EXPECT_EQ(Send(2, {0}), Results{});
  EXPECT_EQ(Send(1), Results{0});
  EXPECT_EQ(Send(2, {7}), Results{});  // any non-zero word is true
  EXPECT_EQ(Send(1), Results{1});

  EXPECT_EQ(Send(5, {0x000000FF}), Results{});  // a colour word: red in the low byte
  EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(255, 0, 0));

  EXPECT_EQ(Send(8, {1}), Results{});
  EXPECT_TRUE(edit->isReadOnly());
  EXPECT_EQ(Send(8, {0}), Results{});
  EXPECT_FALSE(edit->isReadOnly());

  EXPECT_EQ(Send(9, {0}), Results{});
  EXPECT_FALSE(edit->isEnabled());
  EXPECT_EQ(Send(9, {1}), Results{});

  EXPECT_EQ(Send(6), Results{});
  EXPECT_EQ(view.focusWidget(), edit);

  edit->setPlainText("typed");
  EXPECT_EQ(Send(3), Results{});
  EXPECT_EQ(edit->toPlainText(), "");
}

TEST_F(MemoObjectTest, BoundsOutsideWhatWidgetsTakeAreClamped) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  Send(0, {kMax, kMin, kMax, kMax});
  const QRect huge = edit->geometry();
  EXPECT_EQ(huge.left(), QWIDGETSIZE_MAX);
  EXPECT_EQ(huge.top(), -QWIDGETSIZE_MAX);
  EXPECT_GE(huge.right(), huge.left());
  Send(0, {5, 5, -40, -1});
  EXPECT_EQ(edit->geometry(), QRect(5, 5, 0, 0));
}

TEST_F(MemoObjectTest, PrintConsumesTheTitleAndPrintsTheText) {
  edit->LoadLines({"Alpha", "Beta"});
  const int32_t title = NewString("Unit 3");
  const std::string path = TemporaryPdfPath("memo");
  {
    PrintToPdf redirect(path);
    EXPECT_EQ(Send(4, {title}), std::vector<int32_t>{});
  }
  EXPECT_FALSE(manager->IsLive(title));
  const PrintedPdf pdf = ReadPdf(path);
  EXPECT_EQ(pdf.title, "Unit 3");
  EXPECT_NE(pdf.text.find("Alpha\nBeta"), std::string::npos) << pdf.text;
}

TEST_F(MemoObjectTest, ASceneChangeHidesTheControlAtOnceAndFreesItLater) {
  const QPointer<TVkRichEdit> control = edit;
  manager->ReleaseSceneObjects();
  EXPECT_FALSE(manager->IsLive(memo));
  EXPECT_TRUE(edit->isHidden());  // not yet freed
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(control.isNull());
}

}  // namespace
}  // namespace vork::testing
