#pragma once
// Shared pieces of the stage tests: a plain rectangular sprite, a shown stage
// inside a parent window (as the player's view holds it), the pixels that
// actually reached the screen, and screenshots for a person to look at.

#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "scene/background.h"
#include "scene/sprite.h"

// Readable colours in failure messages.
inline void PrintTo(const QColor& color, std::ostream* out) {
  *out << "rgb(" << color.red() << ", " << color.green() << ", " << color.blue() << ")";
}

namespace vork::testing {

// A sprite filled with one colour; pixels inside `hole` (sprite coordinates)
// are transparent to the mouse and not drawn.
class BoxSprite : public TSprite {
 public:
  BoxSprite(int width, int height, QColor color) : width_(width), height_(height), color_(color) {}
  void Paint(QPainter& canvas, const QRect& clip) override;
  bool IsOpaqueAt(int x, int y) const override { return !hole_.contains(x, y); }
  void SetWidth(int width) override { width_ = width; }
  void SetHeight(int height) override { height_ = height; }
  void SetHole(const QRect& hole) { hole_ = hole; }
  int paints = 0;

 protected:
  int GetWidth() const override { return width_; }
  int GetHeight() const override { return height_; }

 private:
  int width_;
  int height_;
  QColor color_;
  QRect hole_;
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// A 640 x 480 stage at (0, 0) of a shown parent window.
class StageTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Puts a new box sprite on the stage (the stage owns it).
  BoxSprite* AddBox(QRect bounds, QColor color);
  // What the window shows now, read back from the screen, in stage pixels.
  QImage Screen() const;
  // Mouse events delivered to the stage as the window system would.
  void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {});
  void Move(QPoint at);
  void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton);
  void Click(QPoint at) { Press(at); Release(at); }

  std::unique_ptr<QWidget> view;
  TVkBackground* stage = nullptr;
  Qt::MouseButtons held;
};

// Writes `image` to <build>/scene-screenshots/<name>.png.
void SaveScreenshot(const QImage& image, const std::string& name);

// Pixel colour as RGB, for readable failures.
QColor PixelAt(const QImage& image, int x, int y);

}  // namespace vork::testing
