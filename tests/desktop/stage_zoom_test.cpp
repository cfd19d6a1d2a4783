// The stage shown larger: the player run headless on a small course at zoom
// 1, 2 and 3 and at a device-pixel ratio of 1.5, with the same clicks (given
// in stage pixels) and its screenshots compared pixel by pixel.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <QtTest/QTest>
#include <cmath>

#include "scene/view.h"
#include "shell/stage_zoom.h"
#include "shell/whole_pixel_mouse.h"

namespace vork {
namespace {

const QString kBuild = VORK_BINARY_DIR;
const QString kHere = VORK_SOURCE_DIR "/tests/desktop";

// Edit fields draw their text at the size they are shown, so only the
// pictures and sprites are compared pixel for pixel.
const QRect kEditField(100, 300, 200, 24);

struct PlayerRun {
  QString transcript;
  QImage screenshot;
  QImage shown_again;  // the window when the scene was shown a second time
};

class StageZoomRuns : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    course_ = new QTemporaryDir;
    QDir dir(course_->path());
    dir.mkpath("res");
    dir.mkpath("media");
    dir.mkpath("users");
    QFile(dir.filePath("media/media.dir")).open(QIODevice::WriteOnly);
    // Single-pixel detail: any blending or drift shows in it.
    QImage checker(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        checker.setPixel(x, y, (x + y) % 2 ? 0xFFFFFF : x < 32 ? 0xFF0000 : 0x000000);
    ASSERT_TRUE(checker.save(dir.filePath("res/checker.bmp")));
    ASSERT_EQ(QProcess::execute(kBuild + "/vka", {"pack", dir.filePath("res"), dir.filePath("stage.vka")}), 0);
    ASSERT_EQ(QProcess::execute(kBuild + "/vkc", {kHere + "/stage.vkc", "-o", dir.filePath("stage.vkbc")}), 0);
  }
  static void TearDownTestSuite() { delete course_; }

  // keys_first: event lines played before the clicks.
  static PlayerRun Play(const QStringList& options, const QString& scale_factor = {},
                        const QString& keys_first = {}) {
    QDir dir(course_->path());
    QTemporaryDir shots;
    QFile events(shots.filePath("events"));
    QFile clicks(kHere + "/stage.events");
    if (!events.open(QIODevice::WriteOnly) || !clicks.open(QIODevice::ReadOnly)) return {};
    events.write(keys_first.toUtf8() + clicks.readAll());
    events.close();
    QProcess player;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.insert("XDG_RUNTIME_DIR", dir.filePath("runtime"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("VORK_SCREENSHOTS", shots.path());
    env.remove("QT_SCALE_FACTOR");
    if (!scale_factor.isEmpty()) env.insert("QT_SCALE_FACTOR", scale_factor);
    dir.mkpath("runtime");
    QFile::setPermissions(dir.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    player.setProcessEnvironment(env);
    player.start(kBuild + "/vork", QStringList{"--image", dir.filePath("stage.vkbc"), "--transcript", "-",
                                               "--events", events.fileName(), "--timeout", "20000"} +
                                       options);
    player.waitForFinished(30000);
    return {QString::fromUtf8(player.readAllStandardOutput()) + "exit " + QString::number(player.exitCode()),
            QImage(shots.filePath("scene-01.png")).convertToFormat(QImage::Format_RGB32),
            QImage(shots.filePath("scene-02.png")).convertToFormat(QImage::Format_RGB32)};
  }

  static QTemporaryDir* course_;
};

QTemporaryDir* StageZoomRuns::course_ = nullptr;

const char kExpected[] =
    "info: clicked left\ninfo: clicked right\ninfo: clicked left\ninfo: clicked right\nexit 0";

TEST_F(StageZoomRuns, ClicksHitTheSameSpritesAtEveryZoom) {
  struct Case {
    QStringList options;
    QString scale_factor;
    QString keys_first;  // zoom keys pressed while the stage shows
  };
  const Case cases[] = {
      {{}, {}, {}},
      {{"--zoom", "2"}, {}, {}},
      {{"--zoom", "3"}, {}, {}},
      {{"--fullscreen"}, {}, {}},
      {{}, "1.5", {}},
      {{"--zoom", "2"}, "1.5", {}},
      {{}, {}, "key F11\n"},
      {{}, {}, "key Ctrl+Plus\nkey Ctrl+Plus\nkey Ctrl+Minus\n"},
      {{"--zoom", "3"}, {}, "key Ctrl+0\nkey F11\nkey F11\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Play(c.options, c.scale_factor, c.keys_first).transcript.toStdString(), kExpected)
        << c.options.join(' ').toStdString() << " scale " << c.scale_factor.toStdString() << " "
        << c.keys_first.toStdString();
  }
}

TEST_F(StageZoomRuns, ZoomKeysResizeTheWindowAndF11FillsTheScreen) {
  struct Case {
    QStringList options;
    QString keys;
    QSize window;
  };
  // The player runs on the same offscreen platform as this test.
  const QSize screen = QGuiApplication::primaryScreen()->size();
  const Case cases[] = {
      {{}, "key Ctrl+Plus\n", {1280, 960}},
      {{}, "key Ctrl+Plus\nkey Ctrl+Plus\nkey Ctrl+Minus\n", {1280, 960}},
      {{"--zoom", "3"}, "key Ctrl+0\n", {640, 480}},
      {{"--zoom", "2"}, "key Ctrl+Minus\nkey Ctrl+Minus\n", {640, 480}},
      {{}, "key F11\n", screen},
      {{"--fullscreen"}, "key F11\n", {640, 480}},
  };
  for (const Case& c : cases) {
    const PlayerRun run = Play(c.options, {}, c.keys + "key S\n");
    EXPECT_EQ(run.shown_again.size(), c.window) << c.options.join(' ').toStdString() << " " << c.keys.toStdString();
    EXPECT_EQ(run.transcript.toStdString(), kExpected);
  }
  // Full screen: the stage at 1x in the middle, black around it.
  const QImage stage = Play({}).screenshot;
  const QImage full = Play({}, {}, "key F11\nkey S\n").shown_again;
  const QPoint corner = StageZoom::CentredOffset(stage.size(), full.size());
  ASSERT_FALSE(corner.isNull());
  EXPECT_EQ(full.copy(QRect(corner, stage.size())), stage);
  EXPECT_EQ(full.pixel(0, 0), 0xFF000000);
  EXPECT_EQ(full.pixel(full.width() - 1, full.height() - 1), 0xFF000000);
}

// Compares `shown` with the 1x picture: each pixel of `shown` outside the
// edit field must have the colour of a stage pixel it covers (no blends, no
// drift by more than the covered pixels).
void ExpectSharpCopy(const QImage& stage, const QImage& shown, double factor) {
  ASSERT_EQ(shown.width(), std::lround(stage.width() * factor));
  ASSERT_EQ(shown.height(), std::lround(stage.height() * factor));
  int wrong = 0;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      const int x0 = static_cast<int>(x / factor), x1 = std::min(stage.width() - 1, static_cast<int>((x + 0.999) / factor));
      const int y0 = static_cast<int>(y / factor), y1 = std::min(stage.height() - 1, static_cast<int>((y + 0.999) / factor));
      if (kEditField.adjusted(-1, -1, 1, 1).intersects(QRect(QPoint(x0, y0), QPoint(x1, y1)))) continue;
      const QRgb colour = shown.pixel(x, y);
      bool covered = false;
      for (int sy = y0; sy <= y1 && !covered; ++sy)
        for (int sx = x0; sx <= x1 && !covered; ++sx) covered = stage.pixel(sx, sy) == colour;
      if (!covered && ++wrong <= 5) ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << colour;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(StageZoomRuns, ScreenshotsShowTheStagePixelsSharplyAtZoomTwoAndAtScaleOneAndAHalf) {
  const QImage stage = Play({}).screenshot;
  ASSERT_EQ(stage.size(), QSize(640, 480));
  // The picture's two halves and its checker are there at 1x.
  EXPECT_EQ(stage.pixel(400, 100), 0xFFFF0000);
  EXPECT_EQ(stage.pixel(401, 100), 0xFFFFFFFF);
  EXPECT_EQ(stage.pixel(433, 100), 0xFFFFFFFF);
  EXPECT_EQ(stage.pixel(432, 100), 0xFF000000);

  ExpectSharpCopy(stage, Play({"--zoom", "2"}).screenshot, 2);
  ExpectSharpCopy(stage, Play({}, "1.5").screenshot, 1.5);
  ExpectSharpCopy(stage, Play({"--zoom", "2"}, "1.5").screenshot, 3);
}

TEST(StageZoom, FitFactorIsTheLargestWholeFactorThatFits) {
  struct Case {
    QSize room;
    int factor;
  };
  const Case cases[] = {{{1920, 1080}, 2}, {{1280, 960}, 2}, {{1279, 960}, 1}, {{2560, 1440}, 3},
                        {{3840, 2160}, 4}, {{800, 600}, 1}, {{320, 200}, 1}};
  for (const Case& c : cases)
    EXPECT_EQ(StageZoom::FitFactor({640, 480}, c.room), c.factor) << c.room.width() << "x" << c.room.height();
  EXPECT_EQ(StageZoom::CentredOffset({1280, 960}, {1920, 1080}), QPoint(320, 60));
  EXPECT_EQ(StageZoom::CentredOffset({1280, 960}, {1000, 900}), QPoint(0, 0));
}

// A control that counts its paints.
class PaintCounter : public QWidget {
 public:
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
};

// Transitions and blocking slides put each frame on screen and go on without
// returning to the event loop: a scaled stage must show them all the same.
TEST(StageZoom, RepaintNowPaintsBeforeReturningAtEveryZoom) {
  QWidget window;
  auto* stage = new QWidget(&window);
  stage->setFixedSize(200, 100);
  window.setFixedSize(200, 100);
  auto* control = new PaintCounter;
  control->setParent(stage);
  control->setGeometry(10, 10, 50, 50);
  auto* zoom = new StageZoom(&window, stage);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  for (int factor : {1, 2, 3}) {
    zoom->SetZoom(factor);
    QCoreApplication::processEvents();
    const int before = control->paints;
    RepaintNow(control, QRect(5, 5, 10, 10));
    EXPECT_GT(control->paints, before) << "zoom " << factor;
    EXPECT_EQ(window.size(), QSize(200, 100) * factor);
  }
}

// A control that notes where presses reach it.
class PressRecorder : public QWidget {
 public:
  QPointF last;

 protected:
  void mousePressEvent(QMouseEvent* event) override { last = event->position(); }
};

TEST(WholePixelMouse, FractionalPositionsReachControlsAsThePixelTheyLieIn) {
  WholePixelMouse filter;
  qApp->installEventFilter(&filter);
  QWidget window;
  window.setFixedSize(100, 100);
  auto* control = new PressRecorder;
  control->setParent(&window);
  control->setGeometry(10, 10, 50, 50);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  // As a screen at 1.5 device pixels per pixel delivers device pixels 31 and 32.
  for (auto [at, expected] : {std::pair{QPointF(20.667, 20.0), QPointF(10, 10)},
                              std::pair{QPointF(21.333, 49.999), QPointF(11, 39)},
                              std::pair{QPointF(15.0, 15.0), QPointF(5, 5)}}) {
    QMouseEvent press(QEvent::MouseButtonPress, at, at, window.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, window.mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &release);
    EXPECT_EQ(control->last, expected) << at.x() << "," << at.y();
  }
  qApp->removeEventFilter(&filter);
}

}  // namespace
}  // namespace vork
