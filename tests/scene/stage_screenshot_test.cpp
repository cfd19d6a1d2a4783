// What the stage looks like: picture over fill colour, sprites in z-order,
// developer marks and message overlay. Every case leaves a PNG in
// <build>/scene-screenshots.

#include <QApplication>
#include <QPainter>

#include "stage_fixture.h"

namespace vork::testing {
namespace {

using StageScreenshotTest = StageTest;

// Four quadrants of distinct colours, so a shifted copy shows.
QImage QuadrantPicture(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  QPainter painter(&picture);
  painter.fillRect(0, 0, width / 2, height / 2, QColor(200, 0, 0));
  painter.fillRect(width / 2, 0, width - width / 2, height / 2, QColor(0, 200, 0));
  painter.fillRect(0, height / 2, width / 2, height - height / 2, QColor(0, 0, 200));
  painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, QColor(200, 200, 0));
  return picture;
}

// Runs of equal colour down one column: (colour, length) from the top.
std::vector<std::pair<QColor, int>> ColumnRuns(const QImage& image, int x, int height) {
  std::vector<std::pair<QColor, int>> runs;
  for (int y = 0; y < height; ++y) {
    const QColor color = PixelAt(image, x, y);
    if (runs.empty() || runs.back().first != color) runs.emplace_back(color, 0);
    ++runs.back().second;
  }
  return runs;
}

bool Contains(const QImage& image, const QRect& area, const QColor& color) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (PixelAt(image, x, y) == color) return true;
  return false;
}

TEST_F(StageScreenshotTest, ThePictureCoversItsAreaAndTheFillColourTheRest) {
  stage->SetAutoSize(false);
  stage->SetColor(0x00FF8040);  // a colour word: red 0x40, green 0x80, blue 0xFF
  stage->SetBitmap(QuadrantPicture(300, 200));
  const QImage screen = Screen();
  SaveScreenshot(screen, "picture_over_fill");
  EXPECT_EQ(stage->size(), QSize(640, 480));
  struct Probe {
    QPoint at;
    QColor color;
  } probes[] = {
      {{0, 0}, QColor(200, 0, 0)},         {{299, 0}, QColor(0, 200, 0)},
      {{0, 199}, QColor(0, 0, 200)},       {{299, 199}, QColor(200, 200, 0)},
      {{300, 0}, QColor(0x40, 0x80, 0xFF)}, {{0, 200}, QColor(0x40, 0x80, 0xFF)},
      {{639, 479}, QColor(0x40, 0x80, 0xFF)},
  };
  for (const Probe& p : probes) EXPECT_EQ(PixelAt(screen, p.at.x(), p.at.y()), p.color) << p.at.x() << "," << p.at.y();
  EXPECT_EQ(stage->Color(), 0x00FF8040);
}

TEST_F(StageScreenshotTest, AutoSizeFitsTheStageToEachNewPicture) {
  stage->SetBitmap(QuadrantPicture(320, 240));
  EXPECT_EQ(stage->size(), QSize(320, 240));
  EXPECT_EQ(stage->pos(), QPoint(0, 0));
  stage->SetBitmap(QImage());  // clearing keeps the size
  EXPECT_EQ(stage->size(), QSize(320, 240));
  stage->SetAutoSize(false);
  stage->SetBitmap(QuadrantPicture(100, 100));
  EXPECT_EQ(stage->size(), QSize(320, 240));
  stage->SetAutoSize(true);
  EXPECT_EQ(stage->size(), QSize(100, 100));
}

TEST_F(StageScreenshotTest, SpritesAreDrawnBottomToTopOverThePicture) {
  stage->SetAutoSize(false);
  stage->SetBitmap(QuadrantPicture(640, 480));
  AddBox({100, 100, 100, 100}, Qt::white);
  BoxSprite* top = AddBox({150, 150, 100, 100}, Qt::magenta);
  top->SetHole({0, 0, 20, 20});
  stage->BeginUpdate();
  stage->InvalidateRect(top->BoundsRect());
  stage->EndUpdate();
  BoxSprite* hidden = AddBox({400, 300, 50, 50}, Qt::cyan);
  hidden->SetVisible(false);
  const QImage screen = Screen();
  SaveScreenshot(screen, "sprites_in_z_order");
  EXPECT_EQ(PixelAt(screen, 120, 120), QColor(Qt::white));
  EXPECT_EQ(PixelAt(screen, 190, 190), QColor(Qt::magenta)) << "later sprite on top";
  EXPECT_EQ(PixelAt(screen, 155, 155), QColor(Qt::white)) << "seen through the top one's hole";
  EXPECT_EQ(PixelAt(screen, 420, 320), QColor(200, 200, 0)) << "hidden sprite not drawn";
}

TEST_F(StageScreenshotTest, ChildControlsStayAboveSpritesMovingUnderThem) {
  stage->SetAutoSize(false);
  auto* control = new QWidget(stage);
  control->setGeometry(200, 200, 80, 40);
  control->setAutoFillBackground(true);
  control->setPalette(QPalette(Qt::white));
  control->show();
  QApplication::processEvents();
  BoxSprite* sprite = AddBox({100, 190, 60, 60}, Qt::red);
  sprite->SetLeft(190);  // now partly under the control
  const QImage screen = Screen();
  SaveScreenshot(screen, "child_control_over_sprite");
  EXPECT_EQ(PixelAt(screen, 195, 195), QColor(Qt::red));
  EXPECT_EQ(PixelAt(screen, 210, 210), QColor(Qt::white));
  EXPECT_EQ(PixelAt(screen, 245, 245), QColor(Qt::red));
}

TEST_F(StageScreenshotTest, DeveloperMarksShowCentresAndBounds) {
  stage->SetAutoSize(false);
  BoxSprite* sprite = AddBox({100, 100, 61, 41}, QColor(0, 0, 128));  // centre (130, 120)
  AddBox({300, 100, 40, 40}, QColor(0, 0, 128))->SetVisible(false);
  EXPECT_EQ(PixelAt(Screen(), 100, 100), QColor(0, 0, 128)) << "no marks outside developer mode";

  struct Style {
    int style;
    QColor outline;
  } styles[] = {{1, QColor(192, 192, 192)}, {2, QColor(255, 0, 255)}};
  for (const Style& s : styles) {
    SCOPED_TRACE(s.style);
    stage->SetDeveloperViewStyle(s.style);
    const QImage screen = Screen();
    SaveScreenshot(screen, "developer_marks_style_" + std::to_string(s.style));
    for (QPoint white : {QPoint(130, 116), QPoint(130, 124), QPoint(126, 120), QPoint(134, 120)})
      EXPECT_EQ(PixelAt(screen, white.x(), white.y()), QColor(Qt::white)) << white.x() << "," << white.y();
    EXPECT_EQ(PixelAt(screen, 130, 120), QColor(Qt::black));
    EXPECT_EQ(PixelAt(screen, 130, 115), QColor(0, 0, 128)) << "arms are four pixels long";
    EXPECT_EQ(PixelAt(screen, 100, 100), s.outline);
    // Dotted, on the outermost pixels of the bounds (right and bottom
    // exclusive) and nowhere outside them.
    for (QRect edge : {QRect(100, 100, 61, 1), QRect(160, 100, 1, 41), QRect(100, 140, 61, 1)}) {
      EXPECT_TRUE(Contains(screen, edge, s.outline)) << edge.x() << "," << edge.y();
      EXPECT_TRUE(Contains(screen, edge, QColor(0, 0, 128))) << edge.x() << "," << edge.y();
    }
    EXPECT_FALSE(Contains(screen, {99, 99, 63, 1}, s.outline) || Contains(screen, {161, 99, 1, 43}, s.outline));
    EXPECT_FALSE(Contains(screen, {300, 100, 40, 40}, s.outline)) << "hidden sprites get no marks";
  }
  stage->SetDeveloperViewStyle(0);
  EXPECT_EQ(PixelAt(Screen(), 100, 100), QColor(0, 0, 128));
  (void)sprite;
}

TEST_F(StageScreenshotTest, InViewStyleTwoTheHeldSpriteGetsRings) {
  stage->SetAutoSize(false);
  const QColor fill(0, 0, 128);
  AddBox({100, 100, 120, 120}, fill);  // centre (160, 160); 6 rings
  const QColor yellow(255, 255, 0), olive(128, 128, 0);

  stage->SetDeveloperViewStyle(1);
  Press({110, 160});
  EXPECT_EQ(PixelAt(Screen(), 170, 160), fill) << "no rings in style 1";
  Release({110, 160});

  stage->SetDeveloperViewStyle(2);
  EXPECT_EQ(PixelAt(Screen(), 170, 160), fill) << "no rings without a held button";
  Press({110, 160});
  const QImage screen = Screen();
  SaveScreenshot(screen, "developer_rings");
  // Along the row through the centre, ring r crosses at x = 160 - 10 r.
  const QColor expected[] = {yellow, olive, olive, olive, yellow, olive};
  for (int ring = 1; ring <= 6; ++ring)
    EXPECT_EQ(PixelAt(screen, 160 - 10 * ring, 160), expected[ring - 1]) << "ring " << ring;
  EXPECT_EQ(PixelAt(screen, 165, 160), fill);
  Release({110, 160});
  EXPECT_EQ(PixelAt(Screen(), 170, 160), fill) << "rings go with the release";
}

TEST_F(StageScreenshotTest, TheOverlayStacksOneBandPerMessageInItsKindsColours) {
  stage->SetAutoSize(false);
  stage->SetColor(0x808080);
  stage->AddOverlayMessage(0, "plain");
  stage->AddOverlayMessage(1, "alert");
  stage->AddOverlayMessage(2, "debug");
  EXPECT_EQ(PixelAt(Screen(), 0, 0), QColor(128, 128, 128)) << "only in developer mode";

  stage->SetDeveloperViewStyle(1);
  QImage screen = Screen();
  SaveScreenshot(screen, "overlay");
  const auto runs = ColumnRuns(screen, 0, 100);
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].first, QColor(32, 32, 32));
  EXPECT_EQ(runs[1].first, QColor(255, 0, 0));
  EXPECT_EQ(runs[2].first, QColor(128, 64, 0));
  EXPECT_EQ(runs[3].first, QColor(128, 128, 128));
  EXPECT_EQ(runs[0].second, runs[1].second);
  EXPECT_EQ(runs[1].second, runs[2].second);
  EXPECT_GT(runs[0].second, 8) << "one line of 8-point text";
  const int band = runs[0].second;
  EXPECT_TRUE(Contains(screen, {0, 0, 120, band}, Qt::white));
  EXPECT_TRUE(Contains(screen, {0, band, 120, band}, QColor(255, 255, 0)));
  EXPECT_TRUE(Contains(screen, {0, 2 * band, 200, band}, Qt::white));

  stage->AddOverlayMessage(0, "<MSG_LOG_OFF>");
  EXPECT_EQ(PixelAt(Screen(), 0, 0), QColor(128, 128, 128)) << "switched off";
  stage->AddOverlayMessage(0, "<MSG_LOG_ON>");
  EXPECT_EQ(PixelAt(Screen(), 0, 0), QColor(32, 32, 32));
  stage->SetDeveloperViewStyle(2);
  EXPECT_EQ(PixelAt(Screen(), 0, 0), QColor(128, 128, 128)) << "view style 2 hides the overlay";
}

}  // namespace
}  // namespace vork::testing
