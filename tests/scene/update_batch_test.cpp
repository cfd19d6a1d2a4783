// Update batching: changes are collected and reach the screen in one
// synchronous repaint at the outermost EndUpdate.

#include <QApplication>
#include <stdexcept>

#include "platform/errors.h"
#include "stage_fixture.h"

namespace vork::testing {
namespace {

using UpdateBatchTest = StageTest;

TEST_F(UpdateBatchTest, ABatchOfMovesRepaintsOnceAndIsOnScreenWhenEndUpdateReturns) {
  stage->SetColor(0x000000);
  BoxSprite* a = AddBox({10, 10, 20, 20}, Qt::red);
  BoxSprite* b = AddBox({100, 10, 20, 20}, Qt::blue);
  PaintCounter paints(stage);

  stage->BeginUpdate();
  a->SetPosition({300, 300});
  b->SetPosition({400, 300});
  stage->BeginUpdate();  // nested batch
  a->SetVisible(false);
  a->SetVisible(true);
  stage->EndUpdate();
  EXPECT_EQ(paints.count, 0);
  EXPECT_EQ(PixelAt(Screen(), 305, 305), QColor(Qt::black)) << "nothing drawn before the end";
  stage->EndUpdate();

  EXPECT_EQ(paints.count, 1);
  // No event processing in between: the repaint was synchronous.
  const QImage screen = Screen();
  EXPECT_EQ(PixelAt(screen, 305, 305), QColor(Qt::red));
  EXPECT_EQ(PixelAt(screen, 405, 305), QColor(Qt::blue));
  EXPECT_EQ(PixelAt(screen, 15, 15), QColor(Qt::black));
  EXPECT_EQ(PixelAt(screen, 105, 15), QColor(Qt::black));
  SaveScreenshot(screen, "batch_after_moves");
}

TEST_F(UpdateBatchTest, TheDirtyRectangleIsTheUnionOfTheChanges) {
  BoxSprite* sprite = AddBox({10, 20, 30, 40}, Qt::red);
  stage->BeginUpdate();
  sprite->SetLeft(50);
  EXPECT_EQ(stage->DirtyRect(), QRect(10, 20, 70, 40));
  sprite->SetTop(60);
  EXPECT_EQ(stage->DirtyRect(), QRect(10, 20, 70, 80));
  stage->InvalidateRect(QRect());  // empty areas add nothing
  EXPECT_EQ(stage->DirtyRect(), QRect(10, 20, 70, 80));
  stage->EndUpdate();
}

TEST_F(UpdateBatchTest, UnchangedValuesAndBringingTheTopSpriteToFrontRepaintNothing) {
  AddBox({10, 10, 20, 20}, Qt::red);
  BoxSprite* top = AddBox({15, 15, 20, 20}, Qt::blue);
  PaintCounter paints(stage);
  top->SetLeft(15);
  top->SetVisible(true);
  top->SetPosition({15, 15});
  top->BringToFront();
  stage->SetColor(stage->Color());
  EXPECT_EQ(paints.count, 0);
  top->SetLeft(16);
  EXPECT_EQ(paints.count, 1);
}

TEST_F(UpdateBatchTest, TooManyEndUpdatesRaiseAndLeaveTheCountAlone) {
  try {
    stage->EndUpdate();
    FAIL() << "no exception";
  } catch (const EVkError& error) {
    EXPECT_STREQ(error.what(), "TBackground: Too many calls to EndUpdate");
  }
  EXPECT_EQ(stage->UpdateCount(), 0);
  stage->BeginUpdate();
  stage->EndUpdate();
  EXPECT_EQ(stage->UpdateCount(), 0);
}

TEST_F(UpdateBatchTest, AFailureInsideABatchStillClosesItAndPaints) {
  BoxSprite* sprite = AddBox({10, 10, 20, 20}, Qt::red);
  try {
    UpdateBatch batch(stage);
    sprite->SetLeft(200);
    throw std::runtime_error("handler failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(stage->UpdateCount(), 0);
  EXPECT_EQ(PixelAt(Screen(), 205, 15), QColor(Qt::red));
}

TEST_F(UpdateBatchTest, AWindowRepaintInsideABatchShowsTheLastCompletedPicture) {
  stage->SetColor(0x000000);
  BoxSprite* sprite = AddBox({10, 10, 20, 20}, Qt::red);
  stage->BeginUpdate();
  sprite->SetLeft(300);
  stage->SetColor(0x00FF00);
  // The window system asks for the whole stage (e.g. it was uncovered).
  stage->repaint();
  QImage screen = Screen();
  EXPECT_EQ(PixelAt(screen, 15, 15), QColor(Qt::red));
  EXPECT_EQ(PixelAt(screen, 305, 15), QColor(Qt::black));
  stage->EndUpdate();
  screen = Screen();
  EXPECT_EQ(PixelAt(screen, 15, 15), QColor(Qt::green));
  EXPECT_EQ(PixelAt(screen, 305, 15), QColor(Qt::red));
}

}  // namespace
}  // namespace vork::testing
