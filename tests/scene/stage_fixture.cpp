#include "stage_fixture.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QScreen>
#include <QTest>

namespace vork::testing {

void BoxSprite::Paint(QPainter& canvas, const QRect&) {
  ++paints;
  QRegion area(BoundsRect());
  if (!hole_.isEmpty()) area -= hole_.translated(Left(), Top());
  for (const QRect& part : area) canvas.fillRect(part, color_);
}

bool PaintCounter::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::Paint) ++count;
  return false;
}

void StageTest::SetUp() {
  view = std::make_unique<QWidget>();
  view->setFixedSize(640, 480);
  stage = new TVkBackground(view.get());
  stage->setGeometry(0, 0, 640, 480);
  view->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  QApplication::processEvents();
}

void StageTest::TearDown() {
  view.reset();
  // Widgets deleted later (transition covers) go now, not in the next test.
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

BoxSprite* StageTest::AddBox(QRect bounds, QColor color) {
  auto* sprite = new BoxSprite(bounds.width(), bounds.height(), color);
  sprite->SetPosition(bounds.topLeft());
  sprite->SetBackground(stage);
  return sprite;
}

QImage StageTest::Screen() const {
  const QPoint origin = stage->mapTo(view.get(), QPoint(0, 0));
  return view->screen()
      ->grabWindow(view->winId(), origin.x(), origin.y(), stage->width(), stage->height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

void StageTest::Press(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers mods) {
  held |= button;
  QMouseEvent event(QEvent::MouseButtonPress, at, stage->mapToGlobal(at), button, held, mods);
  QApplication::sendEvent(stage, &event);
}

void StageTest::Move(QPoint at) {
  QMouseEvent event(QEvent::MouseMove, at, stage->mapToGlobal(at), Qt::NoButton, held, {});
  QApplication::sendEvent(stage, &event);
}

void StageTest::Release(QPoint at, Qt::MouseButton button) {
  held &= ~Qt::MouseButtons(button);
  QMouseEvent event(QEvent::MouseButtonRelease, at, stage->mapToGlobal(at), button, held, {});
  QApplication::sendEvent(stage, &event);
}

void SaveScreenshot(const QImage& image, const std::string& name) {
  const QString folder = QStringLiteral(VORK_BINARY_DIR "/scene-screenshots");
  QDir().mkpath(folder);
  image.save(folder + "/" + QString::fromStdString(name) + ".png");
}

QColor PixelAt(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

}  // namespace vork::testing
