#include "scene/message_overlay.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include "platform/qt/qt_text.h"

namespace vork {

namespace {

// Course authors escape quotes in these messages as backslash + two
// apostrophes; they read as one double quote.
std::string UnescapeQuotes(std::string_view text) {
  static constexpr std::string_view kEscape = "\\''";
  std::string result;
  result.reserve(text.size());
  size_t from = 0;
  for (size_t found; (found = text.find(kEscape, from)) != std::string_view::npos;
       from = found + kEscape.size()) {
    result.append(text.substr(from, found - from));
    result.push_back('"');
  }
  result.append(text.substr(from));
  return result;
}

struct LineColors {
  QColor background;
  QColor text;
};

LineColors ColorsOfKind(int kind) {
  switch (kind) {
    case 0: return {QColor(32, 32, 32), Qt::white};
    case 1: return {QColor(255, 0, 0), QColor(255, 255, 0)};
    default: return {QColor(128, 64, 0), Qt::white};
  }
}

QFont OverlayFont() {
  // 8 points at the 96 dpi the courses were laid out for; in pixels so the
  // overlay looks the same whatever the screen reports.
  QFont font("Arial");
  font.setPixelSize(11);
  font.setBold(true);
  return font;
}

}  // namespace

bool MessageOverlay::SetVisible(bool visible) {
  if (visible == visible_) return false;
  visible_ = visible;
  return true;
}

void MessageOverlay::Append(int kind, std::string_view text) {
  // Wraps like the 32-bit counter it is rather than overflowing.
  counter_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(counter_) + 1);
  std::string line = UnescapeQuotes(text);
  if (kind == 2) line = "debugMsg=\"" + line + "\"";
  lines_.push_back({std::to_string(counter_) + ") " + line + " ", kind});
  if (lines_.size() > kMaxLines) lines_.pop_front();
}

void MessageOverlay::Draw(QPainter& painter) const {
  painter.save();
  const QFont font = OverlayFont();
  painter.setFont(font);
  const QFontMetrics metrics(font);
  int y = 0;
  for (const Line& line : lines_) {
    const QString text = ToQString(" " + line.text + " ");
    const LineColors colors = ColorsOfKind(line.kind);
    const QRect box(0, y, metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(box, colors.background);
    painter.setPen(colors.text);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    y += box.height();
  }
  painter.restore();
}

}  // namespace vork
