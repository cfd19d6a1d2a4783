// Cost of a drag step against a full repaint of a busy stage, both measured
// in this run: a 64 x 64 sprite dragged by real mouse-move events over a
// 640 x 480 stage with a picture and 100 sprites, against repainting the
// whole stage. Prints both times and their ratio (target: at least 10).

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "scene/background.h"
#include "scene/sprite.h"

namespace {

using vork::TSprite;
using vork::TVkBackground;

// A picture sprite with a transparent corner, drawn like the course's
// picture sprites: an alpha-blended image.
class PictureSprite : public TSprite {
 public:
  PictureSprite(int size, QColor color) : picture_(size, size, QImage::Format_ARGB32_Premultiplied) {
    picture_.fill(Qt::transparent);
    QPainter painter(&picture_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(color);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(picture_.rect());
  }
  void Paint(QPainter& canvas, const QRect&) override { canvas.drawImage(Left(), Top(), picture_); }
  bool IsOpaqueAt(int x, int y) const override { return qAlpha(picture_.pixel(x, y)) != 0; }

 protected:
  int GetWidth() const override { return picture_.width(); }
  int GetHeight() const override { return picture_.height(); }

 private:
  QImage picture_;
};

QImage StagePicture() {
  QImage picture(640, 480, QImage::Format_RGB32);
  QPainter painter(&picture);
  QLinearGradient gradient(0, 0, 640, 480);
  gradient.setColorAt(0, QColor(30, 60, 120));
  gradient.setColorAt(1, QColor(200, 180, 90));
  painter.fillRect(picture.rect(), gradient);
  return picture;
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
  QMouseEvent event(type, at, target->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                    held, {});
  QApplication::sendEvent(target, &event);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

template <class Action>
double MicrosecondsPerCall(int calls, Action&& action) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) action(i);
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / calls;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget view;
  view.setFixedSize(640, 480);
  auto* stage = new TVkBackground(&view);
  stage->setGeometry(0, 0, 640, 480);
  stage->SetAutoSize(false);
  stage->SetBitmap(StagePicture());
  view.show();
  QApplication::processEvents();

  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> x_of(0, 640 - 48), y_of(0, 480 - 48), size_of(24, 48);
  {
    vork::UpdateBatch batch(stage);
    for (int i = 0; i < 100; ++i) {
      auto* sprite = new PictureSprite(size_of(random), QColor::fromHsv(i * 7 % 360, 200, 220));
      sprite->SetPosition({x_of(random), y_of(random)});
      sprite->SetBackground(stage);
    }
  }
  auto* dragged = new PictureSprite(64, QColor(240, 240, 240));
  dragged->SetPosition({288, 208});
  dragged->SetCanMove(true);
  dragged->SetBackground(stage);

  constexpr int kSteps = 400;
  constexpr int kRepaints = 40;
  std::vector<double> drag_us, full_us;
  for (int round = 0; round < 7; ++round) {
    // A drag back and forth over the middle of the stage, 3 pixels a step.
    dragged->SetPosition({288, 208});
    const QPoint grab = dragged->Center();
    SendMouse(stage, QEvent::MouseButtonPress, grab, Qt::LeftButton);
    drag_us.push_back(MicrosecondsPerCall(kSteps, [&](int i) {
      const int phase = i % 100;
      const int offset = phase < 50 ? phase * 3 : (100 - phase) * 3;
      SendMouse(stage, QEvent::MouseMove, grab + QPoint(offset - 75, offset / 2 - 37), Qt::LeftButton);
    }));
    SendMouse(stage, QEvent::MouseButtonRelease, dragged->Center(), Qt::NoButton);

    full_us.push_back(MicrosecondsPerCall(kRepaints, [&](int) {
      stage->BeginUpdate();
      stage->InvalidateRect(stage->rect());
      stage->EndUpdate();
    }));
  }

  if (dragged->Position() == QPoint(288, 208)) {
    std::fprintf(stderr, "the dragged sprite did not move\n");
    return 2;
  }
  const double drag = Median(drag_us);
  const double full = Median(full_us);
  std::printf("stage: 640 x 480 with picture, %d sprites, dragged sprite 64 x 64\n", stage->SpriteCount() - 1);
  std::printf("drag step (mouse move, repaint of the changed area): %8.1f us\n", drag);
  std::printf("full-stage repaint:                                 %8.1f us\n", full);
  std::printf("ratio full / drag: %.1f (target >= 10)\n", full / drag);
  return full / drag >= 10 ? 0 : 1;
}
