#include "scene/draw_text.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "platform/qt/qt_text.h"
#include "scene/color_word.h"

namespace vork {

namespace {

constexpr std::string_view kLineBreak = "<BR>";
constexpr int32_t kWhite = 0xFFFFFF;

// Offsets and alignments are course words; positions far off the stage are
// kept far off without overflowing when QPainter adds its own offsets.
constexpr int64_t kFarOff = 1 << 24;
int ToCoordinate(int64_t value) { return static_cast<int>(std::clamp(value, -kFarOff, kFarOff)); }

// The stage buffer's kind of canvas, for measuring outside a paint.
const QImage& MeasuringCanvas() {
  static const QImage canvas(1, 1, QImage::Format_RGB32);
  return canvas;
}

}  // namespace

std::vector<std::string> SplitCaptionLines(std::string_view text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  size_t start = 0;
  while (true) {
    const size_t found = text.find(kLineBreak, start);
    if (found == std::string_view::npos) break;
    lines.emplace_back(text.substr(start, found - start));
    start = found + kLineBreak.size();
  }
  lines.emplace_back(text.substr(start));
  return lines;
}

TCustomDrawText::TCustomDrawText() : font_("Arial", 9, kWhite) {
  font_.OnChange = [this] { Changed(); };
}

void TCustomDrawText::Changed() {
  if (OnChange) OnChange();
}

void TCustomDrawText::SetText(std::string_view text) {
  text_ = std::string(text);
  lines_ = SplitCaptionLines(text_);
  Changed();
}

void TCustomDrawText::SetBackColor(int32_t color) {
  back_color_ = color;
  Changed();
}

void TCustomDrawText::SetOpaque(bool opaque) {
  opaque_ = opaque;
  Changed();
}

void TCustomDrawText::SetXOffset(int32_t offset) {
  x_offset_ = offset;
  Changed();
}

void TCustomDrawText::SetHAlign(int32_t align) {
  h_align_ = align;
  Changed();
}

void TCustomDrawText::SetShadowColor(int32_t color) {
  shadow_color_ = color;
  Changed();
}

void TCustomDrawText::SetShadowX(int32_t x) {
  shadow_x_ = x;
  Changed();
}

void TCustomDrawText::SetShadowY(int32_t y) {
  shadow_y_ = y;
  Changed();
}

void TCustomDrawText::SetYOffset(int32_t offset) {
  y_offset_ = offset;
  Changed();
}

void TCustomDrawText::SetVAlign(int32_t align) {
  v_align_ = align;
  Changed();
}

QFont TCustomDrawText::DrawnFont() const {
  QFont font = font_.ToQFont();
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

int TCustomDrawText::TextWidth() const {
  const QFontMetrics metrics(DrawnFont(), &MeasuringCanvas());
  return metrics.horizontalAdvance(ToQString(text_));
}

void TCustomDrawText::Draw(QPainter& canvas, const QRect& rect) const {
  if (lines_.empty()) return;
  // Everything set below is put back on return.
  canvas.save();
  const QFont font = DrawnFont();
  canvas.setFont(font);
  const QFontMetrics metrics(font, canvas.device());
  const int line_height = metrics.height();
  const int64_t block_height =
      static_cast<int64_t>(lines_.size()) * line_height + std::abs(static_cast<int64_t>(shadow_y_));

  int64_t x = x_offset_;
  if (h_align_ == kAlignRight) x = rect.width() - static_cast<int64_t>(x_offset_);
  if (h_align_ == kAlignCenter) x = rect.width() / 2 + static_cast<int64_t>(x_offset_);
  int64_t y = y_offset_;
  if (v_align_ == kAlignBottom) y = rect.height() - static_cast<int64_t>(y_offset_) - block_height;
  if (v_align_ == kAlignMiddle) y = (rect.height() - block_height) / 2 + y_offset_;
  const int left = ToCoordinate(rect.left() + std::max<int64_t>(x, 0));
  const int top = ToCoordinate(rect.top() + std::max<int64_t>(y, 0));

  canvas.setClipRect(rect, Qt::IntersectClip);
  if (shadow_x_ != 0 || shadow_y_ != 0) {
    DrawLines(canvas, metrics, ToCoordinate(static_cast<int64_t>(left) + shadow_x_),
              ToCoordinate(static_cast<int64_t>(top) + shadow_y_), line_height, shadow_color_);
  }
  DrawLines(canvas, metrics, left, top, line_height, font_.Color());
  canvas.restore();
}

void TCustomDrawText::DrawLines(QPainter& canvas, const QFontMetrics& metrics, int left, int top,
                                int line_height, int32_t color) const {
  canvas.setPen(ColorFromWord(color));
  const int64_t bottom = canvas.hasClipping() ? canvas.clipBoundingRect().bottom() : kFarOff;
  int64_t line_top = top;
  for (const std::string& line : lines_) {
    // The rest is below what can be seen.
    if (line_top > bottom) break;
    const QString text = ToQString(line);
    const int width = metrics.horizontalAdvance(text);
    int line_left = left;
    if (h_align_ == kAlignRight) line_left = left - width;
    if (h_align_ == kAlignCenter) line_left = left - width / 2;
    // Each line is output on its own background, as text cells are.
    const int y = static_cast<int>(line_top);
    if (opaque_) canvas.fillRect(QRect(line_left, y, width, line_height), ColorFromWord(back_color_));
    canvas.drawText(QPoint(line_left, y + metrics.ascent()), text);
    line_top += line_height;
  }
}

}  // namespace vork
