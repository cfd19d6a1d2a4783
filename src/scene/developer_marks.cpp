#include "scene/developer_marks.h"

#include <QPainter>
#include <algorithm>

#include "scene/sprite.h"
#include "scene/sprite_list.h"

namespace vork {

namespace {

const QColor kSilver(192, 192, 192);
const QColor kFuchsia(255, 0, 255);
const QColor kYellow(255, 255, 0);
const QColor kOlive(128, 128, 0);

void DrawCross(QPainter& painter, QPoint center) {
  painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
  painter.drawLine(center.x(), center.y() - 4, center.x(), center.y() + 4);
  painter.drawLine(center.x() - 4, center.y(), center.x() + 4, center.y());
  painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
  painter.drawPoint(center);
}

void DrawDottedBounds(QPainter& painter, const QRect& bounds, const QColor& color) {
  if (bounds.isEmpty()) return;
  QPen pen(color, 1);
  // Three pixels on, three off: the dotted cosmetic pen of the original
  // drawing layer.
  pen.setDashPattern({3, 3});
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(bounds.adjusted(0, 0, -1, -1));
}

void DrawRings(QPainter& painter, const TSprite& sprite) {
  const int rings = (std::min(sprite.Width(), sprite.Height()) / 2) / 10;
  const QPoint center = sprite.Center();
  painter.setBrush(Qt::NoBrush);
  for (int ring = 1; ring <= rings; ++ring) {
    const bool landmark = ring == 1 || ring == 5 || ring == 10;
    painter.setPen(QPen(landmark ? kYellow : kOlive, 1, Qt::SolidLine));
    const int radius = 10 * ring;
    painter.drawEllipse(QRect(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius));
  }
}

}  // namespace

void DrawDeveloperMarks(QPainter& painter, const TSpriteList& sprites, int view_style,
                        const TSprite* held) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const TSprite* sprite : sprites) {
    if (!sprite->Visible()) continue;
    DrawCross(painter, sprite->Center());
    DrawDottedBounds(painter, sprite->BoundsRect(), view_style == 2 ? kFuchsia : kSilver);
    if (view_style == 2 && sprite == held) DrawRings(painter, *sprite);
  }
  painter.restore();
}

}  // namespace vork
