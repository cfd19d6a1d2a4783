#pragma once
// The page of a gap-fill exercise: the laid-out words and the underlines of
// the gaps, drawn in the font and colours the page was built with. The gap
// fields are its children, so that they scroll with it.
//
// It draws only what a paint event exposes, from the layout, instead of
// keeping a bitmap of the whole page: a long text costs no more memory than
// its words.

#include <QColor>
#include <QFont>
#include <QWidget>
#include <vector>

#include "exercises/gapfill/gapfill_layout.h"

namespace vork {

class TVkGapfillPage : public QWidget {
 public:
  explicit TVkGapfillPage(QWidget* parent);

  // Takes the words and the underlines of layout (the gaps' fields are the
  // exercise's to place) and resizes to the page.
  void Show(const GapfillLayout& layout, const QFont& font, int32_t text_color, int32_t back_color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Underline {
    int32_t left;
    int32_t top;
    int32_t width;
  };

  std::vector<PlacedWord> words_;
  std::vector<Underline> underlines_;
  int32_t row_height_ = 0;
  QFont font_;
  QColor text_color_;
  QColor back_color_;
};

}  // namespace vork
