// The glossary and comment windows: their place and parts, the commands
// that open them at an entry or with a sound, closing by the hot area,
// dragging, and how the glossary looks.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "windows/comment_window.h"
#include "windows/glossary_window.h"
#include "support/course_resources.h"
#include "players/media_controls.h"
#include "players/std_media_player.h"
#include "objects/html/html_viewer.h"
#include "objects/picture_object.h"
#include "platform/errors.h"
#include "reference_image.h"

namespace vork::testing {
namespace {

QImage Gradient(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(40 + y / 2, 60, 120 + x / 3));
  return image;
}

std::string Glossary() {
  std::string page = "<h3>Glossary</h3>";
  for (const char* word : {"Apfel", "Baum", "Haus und Hof", "Zug"}) {
    page += "<p><a name=\"" + std::string(word) + "\"></a><b>" + word + "</b></p>";
    for (int i = 0; i < 12; ++i) page += "<p>explanation " + std::to_string(i) + "</p>";
  }
  return page;
}

// The window's close area clicked as the learner would.
void ClickCloseArea(TVkFloatingForm& form) {
  QTest::mouseClick(form.CloseArea(), Qt::LeftButton, {}, QPoint(5, 5));
}

class GlossaryTest : public ::testing::Test {
 protected:
  ~GlossaryTest() override { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  CourseResources resources{{{"_glosbg.bmp", BmpBytes(Gradient(236, 226))}, {"glossary.htm", Glossary()}}};
};

TEST_F(GlossaryTest, OpensHiddenAtTheTopRightWithItsParts) {
  TVkGlossaryForm form(resources.Manager());
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.size(), QSize(236, 226));
  const int screen_width = QGuiApplication::primaryScreen()->geometry().width();
  EXPECT_EQ(form.pos(), QPoint(screen_width - 236, 0));
  EXPECT_EQ(form.Viewer()->geometry(), QRect(6, 47, 224, 173));
  EXPECT_EQ(form.CloseArea()->geometry(), QRect(189, 7, 42, 25));
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(GlossaryTest, AMissingGlossaryOrBackgroundFailsTheCreation) {
  CourseResources no_glossary{{{"_glosbg.bmp", BmpBytes(Gradient(10, 10))}}};
  EXPECT_THROW(TVkGlossaryForm{no_glossary.Manager()}, EVkError);
  CourseResources no_background{{{"glossary.htm", "<p>x</p>"}}};
  EXPECT_THROW(TVkGlossaryForm{no_background.Manager()}, EVkError);
}

TEST_F(GlossaryTest, ShowsTheEntryOfTheTargetOrTheTop) {
  TVkGlossaryForm form(resources.Manager());
  QScrollBar& scroll = *form.Viewer()->verticalScrollBar();
  form.ShowEntry("glossary.htm?target=Haus%20und%20Hof");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_GT(scroll.value(), 0);
  const int entry = scroll.value();
  form.ShowEntry("glossary.htm?target=Zug");
  EXPECT_GT(scroll.value(), entry);
  form.ShowEntry("glossary.htm?sound=x");
  EXPECT_EQ(scroll.value(), 0);
  // A plus sign stays a plus sign: no such anchor, and no fault.
  form.ShowEntry("glossary.htm?target=Haus+und+Hof");
  EXPECT_TRUE(form.isVisible());
}

TEST_F(GlossaryTest, TheHotAreaHidesAndAFreeSpotDrags) {
  TVkGlossaryForm form(resources.Manager());
  form.ShowEntry("glossary.htm");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const QPoint start = form.pos();
  QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(100, 20));
  QTest::mouseMove(&form, QPoint(80, 30));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(80, 30));
  EXPECT_EQ(form.pos(), start + QPoint(-20, 10));
  ClickCloseArea(form);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.pos(), start + QPoint(-20, 10));  // the close click is no drag
}

TEST_F(GlossaryTest, LooksLikeItsReference) {
  TVkGlossaryForm form(resources.Manager());
  form.ShowEntry("glossary.htm?target=Baum");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ExpectLooksLike(form.grab().toImage(), "glossary_window.png");
}

QImage ButtonStrip() {
  QImage strip(6 * 20, 3 * 16, QImage::Format_RGB32);
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 6; ++column)
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x)
          strip.setPixel(column * 20 + x, row * 16 + y, qRgb(40 * column, 100 + 60 * row, 90));
  return strip;
}

class CommentTest : public ::testing::Test {
 protected:
  // The player finds media through the process's resource manager: the
  // sound is a loose file in its media folder.
  CommentTest() { ResManager().SetMediaDirectory(resources.MediaDirectory()); }
  ~CommentTest() override {
    form.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  bool Playing() const { return form->Player()->GetState() == TVkCustomMediaPlayer::kPlaying; }
  bool Closed() const { return form->Player()->GetState() == TVkCustomMediaPlayer::kClosed; }
  void ClickExtraButton() {
    const int cell = form->Controls()->CellWidth();
    QTest::mouseClick(form->Controls(), Qt::LeftButton, {}, QPoint(cell + cell / 2, 5));
  }

  CourseResources resources{{{"_commbg.bmp", BmpBytes(Gradient(236, 248))},
                             {"_mbtns.bmp", BmpBytes(ButtonStrip())},
                             {"note.htm", "<p>A <a href=\"more\">note</a>.</p>"},
                             {"other.htm", "<p>Another</p>"}},
                            {{"long.wav", SilentWave(5.0)}}};
  std::unique_ptr<TVkCommentForm> form = std::make_unique<TVkCommentForm>(resources.Manager());
};

TEST_F(CommentTest, OpensHiddenAtTheOriginWithItsParts) {
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->size(), QSize(236, 248));
  EXPECT_EQ(form->pos(), QPoint(0, 0));
  EXPECT_EQ(form->Viewer()->geometry(), QRect(6, 73, 224, 168));
  EXPECT_EQ(form->CloseArea()->geometry(), QRect(210, 7, 23, 53));
  EXPECT_EQ(form->Controls()->geometry(), QRect(61, 24, 120, 16));
  EXPECT_EQ(form->Player()->geometry(), QRect(-1000, -1000, 1, 1));
  EXPECT_TRUE(form->Viewer()->isHidden());
}

TEST_F(CommentTest, TextAloneIsShownAtOnce) {
  form->ShowComment("c?text=note.htm");
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->Viewer()->isHidden());
  EXPECT_EQ(form->Viewer()->toPlainText(), "A note.");
  EXPECT_TRUE(Closed());
}

TEST_F(CommentTest, WithASoundTheTextWaitsForTheExtraButton) {
  form->ShowComment("c?sound=long.wav&text=note.htm");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  EXPECT_EQ(form->Player()->GetFileName(), "long.wav");
  EXPECT_TRUE(Playing());
  EXPECT_TRUE(form->Viewer()->isHidden());
  EXPECT_EQ(form->Viewer()->toPlainText(), "A note.");
  ClickExtraButton();
  EXPECT_FALSE(form->Viewer()->isHidden());
}

TEST_F(CommentTest, ANewCommandClosesThePlayerBeforeLoadingItsText) {
  form->ShowComment("c?sound=long.wav&text=note.htm");
  ASSERT_TRUE(Playing());
  form->ShowComment("c?text=other.htm");
  EXPECT_TRUE(Closed());
  EXPECT_EQ(form->Viewer()->toPlainText(), "Another");
  EXPECT_FALSE(form->Viewer()->isHidden());
}

TEST_F(CommentTest, ASoundWithoutTextShowsAnEmptyWindowAndPlaysNothing) {
  form->ShowComment("c?text=note.htm");
  form->ShowComment("c?sound=long.wav");
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(form->Viewer()->isHidden());
  EXPECT_EQ(form->Viewer()->toPlainText(), "");
}

TEST_F(CommentTest, MissingPartsFailWithTheirNames) {
  EXPECT_THROW(form->ShowComment("c?text=missing.htm"), EVkError);
  try {
    form->ShowComment("c?text=note.htm&sound=missing.wav");
    ADD_FAILURE() << "a missing sound played";
  } catch (const EVkError& e) {
    EXPECT_NE(std::string(e.what()).find("\"missing.wav\""), std::string::npos) << e.what();
  }
  CourseResources no_strip{{{"_commbg.bmp", BmpBytes(Gradient(10, 10))}}};
  EXPECT_THROW(TVkCommentForm{no_strip.Manager()}, EVkError);
}

TEST_F(CommentTest, ALinkRevealsTheTextAndTheCloseAreaHides) {
  form->ShowComment("c?sound=long.wav&text=note.htm");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  form->Viewer()->OnHotSpotClick("more");
  EXPECT_FALSE(form->Viewer()->isHidden());
  ClickCloseArea(*form);
  EXPECT_FALSE(form->isVisible());
}

}  // namespace
}  // namespace vork::testing
