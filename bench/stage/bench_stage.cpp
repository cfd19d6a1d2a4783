// Cost of a drag step against a full repaint of a busy stage, both measured
// in this run: a 64 x 64 sprite dragged by real mouse-move events over a
// 640 x 480 stage with a picture and 100 sprites, against repainting the
// whole stage. Prints both times and their ratio (target: at least 10).
//
// Two scenes: plain alpha-blended picture sprites, and the course's own
// kind, masked frame sprites (three frames, a mask made from a colour, a
// caption with a shadow). For the second, also the tick of a group slide
// that moves four sprites and of a single-sprite slide.

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "../figure.h"
#include "scene/background.h"
#include "scene/frame_sprite.h"
#include "scene/slider.h"
#include "scene/sprite.h"

namespace {

using vork::TFrameSprite;
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

// A strip of three frames of size x size: a disc on white (white becomes
// transparent when the mask is made from the colour).
QImage FrameStrip(int size, QColor color) {
  QImage strip(size * 3, size, QImage::Format_RGB32);
  strip.fill(Qt::white);
  QPainter painter(&strip);
  painter.setPen(Qt::NoPen);
  for (int frame = 0; frame < 3; ++frame) {
    painter.setBrush(color.darker(100 + 30 * frame));
    painter.drawEllipse(frame * size + 1, 1, size - 2, size - 2);
  }
  return strip;
}

TSprite* MaskedFrameSprite(int size, QColor color, int index) {
  auto* sprite = new TFrameSprite;
  sprite->SetBitmap(FrameStrip(size, color));
  sprite->SetFrameCount(3);
  sprite->MakeMaskFromColor();
  sprite->SetMasked(true);
  sprite->SetFrame(index % 3);
  sprite->Caption().SetText("Word " + std::to_string(index));
  sprite->Caption().SetVAlign(vork::TCustomDrawText::kAlignMiddle);
  sprite->Caption().SetHAlign(vork::TCustomDrawText::kAlignCenter);
  sprite->Caption().SetShadowX(1);
  sprite->Caption().SetShadowY(1);
  return sprite;
}

TSprite* PlainPictureSprite(int size, QColor color, int) { return new PictureSprite(size, color); }

using SpriteFactory = TSprite* (*)(int size, QColor color, int index);

struct SceneTimes {
  double drag = 0;
  double full = 0;
  double group_tick = 0;
  double single_tick = 0;
  bool moved = false;
};

SceneTimes MeasureScene(SpriteFactory make) {
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
  std::vector<TSprite*> sprites;
  {
    vork::UpdateBatch batch(stage);
    for (int i = 0; i < 100; ++i) {
      TSprite* sprite = make(size_of(random), QColor::fromHsv(i * 7 % 360, 200, 220), i);
      sprite->SetPosition({x_of(random), y_of(random)});
      sprite->SetBackground(stage);
      sprites.push_back(sprite);
    }
  }
  TSprite* dragged = make(64, QColor(240, 240, 240), 100);
  dragged->SetPosition({288, 208});
  dragged->SetCanMove(true);
  dragged->SetBackground(stage);

  constexpr int kSteps = 400;
  constexpr int kRepaints = 40;
  constexpr int kTicks = 200;
  std::vector<double> drag_us, full_us, group_us, single_us;
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

    // Group slide ticks: four sprites of a row sliding 50 pixels along, as
    // an insertion into a row does; a new slide every ten ticks.
    for (int k = 0; k < 4; ++k) sprites[k]->SetPosition({100 + 50 * k, 380});
    std::unique_ptr<vork::TVkSlider> slider;
    group_us.push_back(MicrosecondsPerCall(kTicks, [&](int i) {
      if (i % 10 == 0) {
        slider = std::make_unique<vork::TVkSlider>();
        const int direction = (i / 10) % 2 == 0 ? 50 : -50;
        for (int k = 0; k < 4; ++k) slider->Add(sprites[k], sprites[k]->Center() + QPoint(direction, 0));
      }
      vork::UpdateBatch batch(stage);
      slider->Step();
    }));

    vork::TSpriteSlide slide;
    single_us.push_back(MicrosecondsPerCall(kTicks, [&](int i) {
      const int direction = (i / 10) % 2 == 0 ? 1 : -1;
      if (i % 10 == 0) slide.Start(sprites[4], sprites[4]->Position() + direction * QPoint(60, 30));
      slide.Step();
    }));
  }

  SceneTimes times;
  times.drag = Median(drag_us);
  times.full = Median(full_us);
  times.group_tick = Median(group_us);
  times.single_tick = Median(single_us);
  times.moved = dragged->Position() != QPoint(288, 208);
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const SceneTimes plain = MeasureScene(PlainPictureSprite);
  const SceneTimes masked = MeasureScene(MaskedFrameSprite);
  if (!plain.moved || !masked.moved) {
    std::fprintf(stderr, "the dragged sprite did not move\n");
    return 2;
  }
  std::printf("stage: 640 x 480 with picture, 100 sprites, dragged sprite 64 x 64\n");
  std::printf("alpha-blended picture sprites\n");
  std::printf("  drag step (mouse move, repaint of the changed area): %8.1f us\n", plain.drag);
  std::printf("  full-stage repaint:                                 %8.1f us\n", plain.full);
  std::printf("  ratio full / drag: %.1f (target >= 10)\n", plain.full / plain.drag);
  std::printf("masked frame sprites with shadowed captions\n");
  std::printf("  drag step (mouse move, repaint of the changed area): %8.1f us\n", masked.drag);
  std::printf("  full-stage repaint:                                 %8.1f us\n", masked.full);
  std::printf("  ratio full / drag: %.1f (target >= 10)\n", masked.full / masked.drag);
  std::printf("  group slide tick (4 sprites):                       %8.1f us (full / tick %.1f)\n",
              masked.group_tick, masked.full / masked.group_tick);
  std::printf("  single-sprite slide tick:                           %8.1f us (full / tick %.1f)\n",
              masked.single_tick, masked.full / masked.single_tick);
  const bool plain_fast =
      vork::bench::PrintFigure("stage full repaint / drag step, picture sprites", plain.full / plain.drag, ">=", 10);
  const bool masked_fast = vork::bench::PrintFigure("stage full repaint / drag step, masked frame sprites",
                                                    masked.full / masked.drag, ">=", 10);
  return plain_fast && masked_fast ? 0 : 1;
}
