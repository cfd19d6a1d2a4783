// The picture dialog's window: its size and place, its text area, how it
// closes (hot spots, timeouts, refused close requests), and how it looks.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "dialogs/dialog_placement.h"
#include "windows/picture_dialog.h"
#include "support/course_resources.h"
#include "objects/html/html_viewer.h"
#include "platform/errors.h"
#include "reference_image.h"

namespace vork::testing {
namespace {

QImage Stripes() {
  QImage image(240, 160, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, (y / 40) % 2 ? 0x3050A0 : 0xE0C060);
  return image;
}

class PictureDialogTest : public ::testing::Test {
 protected:
  PictureDialogTest() { dialog.BitmapName = "ask.img"; }
  ~PictureDialogTest() override { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  // Opens the form (modal, without blocking the test) and waits for it to be
  // shown.
  std::unique_ptr<TVkDialogForm> Open() {
    auto form = std::make_unique<TVkDialogForm>(dialog, resources.Manager());
    form->open();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    return form;
  }
  static void Click(TVkDialogForm& form, int x, int y) {
    QTest::mouseClick(form.PictureControl(), Qt::LeftButton, {}, QPoint(x, y));
  }

  CourseResources resources{{{"ask.bmp", BmpBytes(Stripes())},
                             {"page.htm", "<p>Gr\xFC\xDF Gott <b>Welt</b></p>"}}};
  TVkDialog dialog;
};

TEST_F(PictureDialogTest, TakesThePictureSizeAndItsPlaceInTheArea) {
  dialog.Area = {10, 20, 650, 500};
  dialog.OffsetX = 7;
  auto form = Open();
  EXPECT_EQ(form->size(), QSize(240, 160));
  EXPECT_EQ(form->PictureControl()->geometry(), QRect(0, 0, 240, 160));
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  const TVkDialogPosition at = PlaceDialog(dialog.Area, 240, 160, 7, 0, screen.width(), screen.height());
  EXPECT_EQ(form->pos(), QPoint(at.left, at.top));
  EXPECT_EQ(form->TextArea(), nullptr);

  dialog.Width = 100;
  dialog.Height = 300;
  auto sized = Open();
  EXPECT_EQ(sized->size(), QSize(100, 300));
}

TEST_F(PictureDialogTest, AMissingPictureFailsBeforeAnythingIsShown) {
  dialog.BitmapName = "missing.img";
  EXPECT_THROW(TVkDialogForm(dialog, resources.Manager()), EVkError);
}

TEST_F(PictureDialogTest, AHotSpotClickClosesWithItsNameAndOtherClicksDoNothing) {
  dialog.Hotspots = "first,0,0,100,100,second,50,50,100,100";
  auto form = Open();
  QSignalSpy finished(form.get(), &QDialog::finished);
  Click(*form, 200, 20);
  EXPECT_EQ(finished.count(), 0);
  EXPECT_TRUE(form->isVisible());
  Click(*form, 60, 60);  // both contain it: the first listed wins
  EXPECT_EQ(finished.count(), 1);
  EXPECT_EQ(form->Result(), "first");
  EXPECT_FALSE(form->isVisible());
}

TEST_F(PictureDialogTest, WithoutHotSpotsAnyClickClosesWithTheEmptyResult) {
  // A list without one complete group is no list at all.
  for (const char* hotspots : {"", "ok,1,2", "ok,1,2,three,4"}) {
    dialog.Hotspots = hotspots;
    auto form = Open();
    Click(*form, 230, 150);
    EXPECT_FALSE(form->isVisible()) << hotspots;
    EXPECT_EQ(form->Result(), "") << hotspots;
  }
}

TEST_F(PictureDialogTest, HotSpotsThatAllLieOffThePictureCountAsNoList) {
  // The picture is 240 x 160: none of these can ever be clicked.
  for (const char* hotspots : {"off,240,0,10,10", "below,0,160,10,10/left,-20,0,20,20", "flat,10,10,0,0"}) {
    dialog.Hotspots = hotspots;
    auto form = Open();
    EXPECT_TRUE(form->Hotspots().empty()) << hotspots;
    Click(*form, 5, 5);
    EXPECT_FALSE(form->isVisible()) << hotspots;
    EXPECT_EQ(form->Result(), "") << hotspots;
  }
}

TEST_F(PictureDialogTest, ADialogWithoutAreaClosesAtOnceWithTheEmptyResult) {
  struct Case {
    const char* what;
    const char* picture;
    int32_t width, height, timeout;
  } cases[] = {
      {"no picture, no size", "", 0, 0, 0},
      {"a picture made 0 wide", "ask.img", -1, 0, 0},
      {"no height", "", 100, 0, 0},
      {"clicks ignored", "", 0, 0, -60000},
  };
  for (const Case& c : cases) {
    dialog.BitmapName = c.picture;
    dialog.Width = c.width;
    dialog.Height = c.height;
    dialog.Timeout = c.timeout;
    dialog.Hotspots = "ok,0,0,10,10";
    TVkDialogForm form(dialog, resources.Manager());
    // Would otherwise wait for a click that cannot come; 99 tells it apart.
    QTimer::singleShot(2000, &form, [&form] { form.done(99); });
    EXPECT_EQ(form.exec(), QDialog::Accepted) << c.what;
    EXPECT_EQ(form.Result(), "") << c.what;
  }
}

TEST_F(PictureDialogTest, CloseRequestsAreRefused) {
  dialog.Hotspots = "ok,0,0,10,10";
  auto form = Open();
  EXPECT_FALSE(form->close());
  QTest::keyClick(form.get(), Qt::Key_Escape);
  QTest::qWait(20);
  EXPECT_TRUE(form->isVisible());
  Click(*form, 5, 5);
  EXPECT_EQ(form->Result(), "ok");
}

TEST_F(PictureDialogTest, ANegativeTimeoutIgnoresClicksAndClosesEmpty) {
  dialog.Hotspots = "ok,0,0,240,160";
  dialog.Timeout = -300;
  auto form = Open();
  QSignalSpy finished(form.get(), &QDialog::finished);
  Click(*form, 5, 5);
  EXPECT_EQ(finished.count(), 0);
  EXPECT_TRUE(finished.wait(2000));
  EXPECT_EQ(form->Result(), "");
}

TEST_F(PictureDialogTest, APositiveTimeoutClosesUnlessAHotSpotComesFirst) {
  dialog.Hotspots = "ok,0,0,240,160";
  dialog.Timeout = 200;
  auto clicked = Open();
  Click(*clicked, 5, 5);
  EXPECT_EQ(clicked->Result(), "ok");
  QTest::qWait(300);  // the stopped timer does not close it again
  EXPECT_EQ(clicked->Result(), "ok");

  auto waited = Open();
  QSignalSpy finished(waited.get(), &QDialog::finished);
  EXPECT_TRUE(finished.wait(2000));
  EXPECT_EQ(waited->Result(), "");
}

TEST_F(PictureDialogTest, TheTextPrefixChoosesHowTheTextIsShown) {
  struct Case {
    const char* text;
    const char* shown;
    int32_t background;
  };
  const Case cases[] = {
      {"FILE:page.htm", "Gr\xC3\xBC\xC3\x9F Gott Welt", 0xE0E0E0},
      {"HTML:<i>a</i> &amp; b", "a & b", 0xE0E0E0},
      {"TEXT:<i>a</i> &amp; b", "<i>a</i> &amp; b", 0xE0E0E0},
      {"text:lower case", "ERROR:\nText parameter must be prefixed with FILE:, HTML: or TEXT:.", 0x0000FF},
      {"HTML", "ERROR:\nText parameter must be prefixed with FILE:, HTML: or TEXT:.", 0x0000FF},
  };
  dialog.TextBackground = 0xE0E0E0;
  dialog.TextRect = {10, 20, 210, 120};
  for (const Case& c : cases) {
    dialog.Text = c.text;
    TVkDialogForm form(dialog, resources.Manager());
    ASSERT_NE(form.TextArea(), nullptr) << c.text;
    EXPECT_EQ(form.TextArea()->toPlainText(), QString::fromUtf8(c.shown)) << c.text;
    EXPECT_EQ(form.TextArea()->geometry(), QRect(10, 20, 200, 100)) << c.text;
    const QColor background = form.TextArea()->palette().color(QPalette::Base);
    EXPECT_EQ(background, QColor(c.background & 0xFF, c.background >> 8 & 0xFF, c.background >> 16 & 0xFF))
        << c.text;
  }
  // Without a text rectangle the area is 20 x 20 at the corner.
  dialog.TextRect = {};
  TVkDialogForm small(dialog, resources.Manager());
  EXPECT_EQ(small.TextArea()->geometry(), QRect(0, 0, 20, 20));
}

TEST_F(PictureDialogTest, LooksLikeItsReference) {
  dialog.Color = 0x00402020;
  dialog.Width = 280;  // wider than the picture: the colour shows on the right
  dialog.Text = "HTML:<p><b>Well done!</b></p><p>Shall we go on?</p>";
  dialog.TextRect = {20, 20, 220, 100};
  dialog.TextBackground = 0xF0FFFF;
  dialog.FontName = "Arial";
  dialog.FontSize = 12;
  dialog.FontColor = 0x800000;
  auto form = Open();
  ExpectLooksLike(form->grab().toImage(), "picture_dialog.png");
}

}  // namespace
}  // namespace vork::testing
