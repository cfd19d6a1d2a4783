#include "scene/transition_cover.h"

#include <QPaintEvent>
#include <QPainter>

namespace vork {

TransitionCover::TransitionCover(QWidget* parent, const QRect& geometry, QImage picture)
    : QWidget(parent), picture_(std::move(picture)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  // Clicks go to the stage below as if the cover were not there.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setGeometry(geometry);
}

void TransitionCover::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(rect(), picture_);
}

}  // namespace vork
