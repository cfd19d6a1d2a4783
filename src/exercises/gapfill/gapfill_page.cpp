#include "exercises/gapfill/gapfill_page.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "platform/qt/qt_text.h"
#include "scene/color_word.h"

namespace vork {

TVkGapfillPage::TVkGapfillPage(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TVkGapfillPage::Show(const GapfillLayout& layout, const QFont& font, int32_t text_color, int32_t back_color) {
  words_ = layout.words;
  underlines_.clear();
  for (const PlacedGap& gap : layout.gaps) underlines_.push_back({gap.left, gap.top + layout.row_height, gap.width});
  row_height_ = layout.row_height;
  font_ = font;
  text_color_ = ColorFromWord(text_color);
  back_color_ = ColorFromWord(back_color);
  resize(layout.width, layout.height);
  update();
}

void TVkGapfillPage::paintEvent(QPaintEvent* event) {
  const QRect area = event->rect();
  QPainter painter(this);
  painter.fillRect(area, back_color_);
  painter.setFont(font_);
  painter.setPen(text_color_);
  // Words are in reading order, so their tops never decrease: the exposed
  // rows are found by halving, not by drawing the whole page.
  const int ascent = painter.fontMetrics().ascent();
  auto word = std::lower_bound(words_.begin(), words_.end(), area.top() - row_height_,
                               [](const PlacedWord& placed, int top) { return placed.top < top; });
  for (; word != words_.end() && word->top <= area.bottom(); ++word)
    painter.drawText(word->left, word->top + ascent, ToQString(word->text));
  painter.setPen(Qt::black);
  for (const Underline& line : underlines_) {
    if (line.width > 0 && line.top >= area.top() && line.top <= area.bottom())
      painter.drawLine(line.left, line.top, line.left + line.width - 1, line.top);
  }
}

}  // namespace vork
