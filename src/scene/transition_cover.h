#pragma once
// The window that covers a control during a transition: it shows a picture
// of its own, so that the control can be redrawn underneath unseen.

#include <QImage>
#include <QWidget>

#include "scene/view.h"

namespace vork {

class TransitionCover : public QWidget {
  Q_OBJECT

 public:
  TransitionCover(QWidget* parent, const QRect& geometry, QImage picture);
  // The picture shown; change it, then ShowNow().
  QImage& Picture() { return picture_; }
  // Puts the current picture on screen before returning.
  void ShowNow() { RepaintNow(this, rect()); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace vork
