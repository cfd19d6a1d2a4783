#pragma once
// TCrCrosswordView: the crossword on the stage. The learner moves a cursor
// over the letter cells with the mouse and the keys, types into the cells to
// fill in, and sees the current word highlighted. OnWordChange fires when
// the cursor enters a different word, OnCellChange at every selection.

#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "exercises/crossword/crossword_data.h"
#include "exercises/crossword/custom_crossword_view.h"

namespace vork {

class TCrCrosswordView : public TCrCustomCrosswordView {
 public:
  explicit TCrCrosswordView(QWidget* parent = nullptr);

  // Takes the data (the built-in sample for none), resizes to its grid and
  // puts the cursor on the first cell to fill in without taking the focus.
  void SetData(std::unique_ptr<TCrCrosswordData> crossword);
  const TCrCrosswordData& Data() const { return *data_; }
  void SelectCell(int x, int y, bool toggle);
  // The solution letters of the current word, and its cue.
  std::string CurrentWord() const;
  std::string CurrentCue() const;
  // size in points at 96 pixels per inch.
  void SetLetterFont(int size, bool bold);

  QPoint CurrentCell() const { return {current_x_, current_y_}; }
  bool Across() const { return across_; }
  const CrRect& CurrentWordRect() const { return word_; }

  std::function<void()> OnCellChange;
  std::function<void()> OnWordChange;

 protected:
  void DrawCell(int x, int y, QPainter& canvas) override;

  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // A key-down (character 0) or a character (virtual key 0).
  void HandleKey(int virtual_key, unsigned char character);
  void TypeCharacter(unsigned char character);
  void MoveBy(int virtual_key);
  void SelectFound(const CrFound& found);
  void RedrawWord(const CrRect& word);
  void CaretTick();
  CrCell CellOf(int x, int y) const { return CrCell::FromWord(data_->Grid().Cell(x, y)); }

  std::unique_ptr<TCrCrosswordData> data_;
  int current_x_ = -1;
  int current_y_ = -1;
  bool caret_visible_ = false;
  bool suppress_focus_ = false;
  int letter_size_ = 12;
  bool letter_bold_ = true;
  CrRect word_;
  bool across_ = true;
  QTimer caret_timer_;
};

}  // namespace vork
