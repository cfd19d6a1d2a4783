#pragma once
// TVkGapfill: the gap-fill exercise on the stage. It lays a text out word by
// word on a page inside a scroll box, puts one native field on the page per
// gap, and checks, marks, reveals and moves the focus over the gaps.
//
// The fonts and colours apply when a page is built; a built page keeps the
// ones it was built with.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "exercises/gapfill/gap_list.h"
#include "exercises/gapfill/gapfill_layout.h"
#include "platform/qt/font.h"

class QScrollArea;

namespace vork {

class TVkGapfillPage;

class TVkGapfill : public QWidget {
 public:
  explicit TVkGapfill(QWidget* parent);
  ~TVkGapfill() override;

  // Replaces the text and its gaps (the learner's answers go with them). A
  // text that cannot be laid out fails with EVkError and the old page stays.
  void LoadLines(const std::vector<std::string>& lines);
  void ClearText() { LoadLines({}); }

  // The number of right gaps; with mark, the others get the error colours.
  int CheckAll(bool mark);
  void ClearAll();
  void ShowAllAnswers();
  void ResetColors();
  int GapCount() const { return gaps_.Count(); }
  TIVkGap& Gap(int index) const { return gaps_.Item(index); }
  void FocusFirst();
  // The gap whose field has the keyboard focus, or null.
  TIVkGap* FocusedGap() const;
  std::string FocusedComment() const;
  // The answer nearest the text of the focused write gap; empty otherwise.
  std::string FocusedHint() const;

  int32_t Color() const { return color_; }
  void SetColor(int32_t color);
  TVkFont& Font() { return font_; }
  TVkFont& GapFont() { return gap_font_; }
  TVkGapfillPage* Page() const { return page_; }
  QScrollArea* ScrollBox() const { return scroll_box_; }

  bool SpellMode = false;
  int32_t ErrorFontColor = 0x0000FF;
  int32_t ErrorBackColor = 0xFFFFFF;
  // Enter in a gap fires OnGapEnter instead of moving to the next gap.
  bool EnterRaisesEvent = false;
  // Both may run bytecode that frees this control (deleted later) or loads
  // another text: they run last in whatever fires them.
  std::function<void(const std::string& comment)> OnComment;
  std::function<void()> OnGapEnter;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddGap(const PlacedGap& placed, int32_t row_height, const QFont& gap_font);
  void GapEntered(const TIVkGap* gap);
  void MouseReleased(QWidget* widget, QPoint position);

  QScrollArea* scroll_box_;
  TVkGapfillPage* page_;
  int32_t color_ = 0xFFFFFF;
  TVkFont font_{"Arial", 10, 0};
  TVkFont gap_font_;
  TVkGapList gaps_;
};

}  // namespace vork
