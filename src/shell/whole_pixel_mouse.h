#pragma once
// WholePixelMouse: on a screen with a fractional device-pixel ratio (1.5,
// 1.25) Qt gives mouse positions in fractions of a window pixel, and every
// control here turns them into whole pixels by rounding, which sends the
// right half of a pixel to its neighbour. Installed on the application, this
// filter hands each such event on with its position moved down to the whole
// pixel the pointer is in, before any control sees it.

#include <QObject>

namespace vork {

class WholePixelMouse : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QEvent* resent_ = nullptr;  // the copy being handed on
};

}  // namespace vork
