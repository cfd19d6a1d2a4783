// The HTML viewer over a course's resources: pictures come from the course
// and nowhere else, links are reported and never followed, mouse releases
// and selections reach the course as it expects them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTextBlock>
#include <filesystem>

#include "support/course_resources.h"
#include "objects/html/html_viewer.h"
#include "objects/html/person_object.h"
#include "platform/errors.h"

namespace vork::testing {
namespace {

class HtmlViewerTest : public ::testing::Test {
 protected:
  HtmlViewerTest() {
    viewer.setGeometry(0, 0, 300, 200);
    viewer.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&viewer));
  }

  // The centre of the first occurrence of text in the laid-out document,
  // in viewport coordinates.
  QPoint PointAt(const QString& text) {
    QTextCursor cursor = viewer.document()->find(text);
    EXPECT_FALSE(cursor.isNull()) << text.toStdString();
    cursor.setPosition(cursor.selectionStart() + 1);
    return viewer.cursorRect(cursor).center();
  }

  CourseResources resources{{{"red.bmp", BmpBytes(FilledImage(8, 6, Qt::red))},
                             {"lesson.htm", "<p>Caf\xE9</p>"}},
                            {{"loose.bmp", BmpBytes(FilledImage(8, 6, Qt::blue))}}};
  TVkHTMLViewer viewer{nullptr, &resources.Manager()};
};

TEST_F(HtmlViewerTest, StartsWithoutBorderOnWhiteWithBlackTextAndNoSelection) {
  EXPECT_EQ(viewer.frameStyle(), QFrame::NoFrame);
  EXPECT_EQ(viewer.palette().color(QPalette::Base), QColor(Qt::white));
  EXPECT_EQ(viewer.palette().color(QPalette::Text), QColor(Qt::black));
  EXPECT_FALSE(viewer.textInteractionFlags() & Qt::TextSelectableByMouse);
  viewer.SetBorder(true);
  EXPECT_EQ(viewer.frameStyle(), QFrame::Box | QFrame::Plain);
  viewer.SetDefaultBackground(0x00FF8040);
  EXPECT_EQ(viewer.palette().color(QPalette::Base), QColor(0x40, 0x80, 0xFF));
}

TEST_F(HtmlViewerTest, DocumentsComeFromTheCourseAsWindows1252) {
  viewer.LoadDocument("lesson.htm");
  EXPECT_EQ(viewer.toPlainText(), QString::fromUtf8("Café"));
  EXPECT_THROW(viewer.LoadDocument("missing.htm"), EVkError);
  viewer.LoadLines({"<p>one", "two</p>"});
  EXPECT_EQ(viewer.toPlainText(), "one two");
}

TEST_F(HtmlViewerTest, PicturesComeFromTheCourseOrAreMissingWithoutAFault) {
  const std::string on_disk = std::filesystem::absolute(VORK_SOURCE_DIR "/tests/windows/reference").string();
  struct Case {
    std::string source;
    bool shown;
  };
  const Case cases[] = {
      {"red.bmp", true},
      {"missing.bmp", false},
      // Known to the manager as a loose media file, but not a resource it
      // can open: missing, not a fault inside the layout.
      {"loose.bmp", false},
      // Files on disk are never read for a page.
      {on_disk + "/picture_dialog.png", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(viewer.ImageRequested(c.source).isEmpty(), !c.shown) << c.source;
    viewer.LoadHtml("<img src=\"" + c.source + "\">");
    const QImage image = viewer.grab().toImage();
    EXPECT_EQ(image.pixelColor(7, 7) == QColor(Qt::red), c.shown) << c.source;
  }
}

TEST_F(HtmlViewerTest, ALinkClickIsReportedAsWrittenAndNeverFollowed) {
  std::vector<std::string> targets;
  viewer.OnHotSpotClick = [&](const std::string& target) { targets.push_back(target); };
  viewer.LoadHtml("<p>Read <a href=\"next page.htm#Stra\xDF" "e\">more</a> here</p>");
  QTest::mouseClick(viewer.viewport(), Qt::LeftButton, {}, PointAt("more"));
  ASSERT_EQ(targets.size(), 1u);
  EXPECT_EQ(targets[0], "next page.htm#Stra\xDF" "e");
  EXPECT_EQ(viewer.toPlainText(), "Read more here");
  EXPECT_TRUE(viewer.source().isEmpty());
  // Without a handler the click still goes nowhere.
  viewer.OnHotSpotClick = nullptr;
  QTest::mouseClick(viewer.viewport(), Qt::LeftButton, {}, PointAt("more"));
  EXPECT_EQ(viewer.toPlainText(), "Read more here");
}

TEST_F(HtmlViewerTest, MouseReleasesAreReportedRelativeToTheViewer) {
  viewer.SetBorder(true);
  viewer.LoadHtml("<p>text</p>");
  std::vector<std::tuple<TMouseButton, TShiftState, int, int>> releases;
  viewer.OnMouseUp = [&](TMouseButton button, TShiftState shift, int x, int y) {
    releases.emplace_back(button, shift, x, y);
  };
  QTest::mouseClick(viewer.viewport(), Qt::RightButton, Qt::ShiftModifier, QPoint(20, 30));
  ASSERT_EQ(releases.size(), 1u);
  const QPoint frame = viewer.viewport()->mapTo(&viewer, QPoint(0, 0));
  EXPECT_EQ(releases[0], std::make_tuple(TMouseButton::Right, kShiftShift, 20 + frame.x(), 30 + frame.y()));
}

TEST_F(HtmlViewerTest, SelectedTextHasCrLfBetweenParagraphs) {
  viewer.SetSelectable(true);
  viewer.LoadHtml("<p>one</p><p>caf\xE9</p>");
  EXPECT_EQ(viewer.SelectedText(), "");
  viewer.selectAll();
  EXPECT_EQ(viewer.SelectedText(), "one\r\ncaf\xE9");
  viewer.SetSelectable(false);
  EXPECT_EQ(viewer.SelectedText(), "");
}

TEST(PersonRegions, RedThenGreenThenBlueAboveHalf) {
  QImage map(4, 1, QImage::Format_RGB32);
  const QRgb pixels[] = {qRgb(200, 200, 0), qRgb(128, 200, 255), qRgb(128, 128, 128), qRgb(0, 0, 129)};
  for (int x = 0; x < 4; ++x) map.setPixel(x, 0, pixels[x]);
  struct Case {
    int x, y;
    std::optional<int32_t> region;
  };
  const Case cases[] = {{0, 0, 0}, {1, 0, 1}, {2, 0, std::nullopt}, {3, 0, 2},
                        // Outside the map reads as white.
                        {4, 0, 0}, {0, 5, 0}, {-1, 0, 0}};
  for (const Case& c : cases) EXPECT_EQ(RegionAt(map, c.x, c.y), c.region) << c.x << "," << c.y;
  EXPECT_EQ(RegionAt(QImage(), 0, 0), std::nullopt);
}

}  // namespace
}  // namespace vork::testing
