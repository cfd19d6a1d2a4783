#pragma once
// TCrCustomCrosswordView: a control that shows a grid of equal cells
// separated by lines. Cells are drawn into a back buffer by DrawCell, which a
// derived view supplies; painting only copies the buffer to the screen.

#include <QImage>
#include <QRect>
#include <QWidget>

class QPainter;

namespace vork {

class TCrCustomCrosswordView : public QWidget {
 public:
  explicit TCrCustomCrosswordView(QWidget* parent = nullptr);

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  int LineWidth() const { return line_width_; }
  int CellWidth() const { return cell_width_; }
  int CellHeight() const { return cell_height_; }

  // The pixels of cell (x, y) without its lines, and with them.
  QRect CellRect(int x, int y) const;
  QRect OuterCellRect(int x, int y) const;
  // The cell under a point of the control, clamped to the grid.
  QPoint CellAt(QPoint point) const;
  // What the control shows, drawn afresh.
  QImage Picture();

 protected:
  virtual void DrawCell(int x, int y, QPainter& canvas) = 0;

  // A new number of columns and rows: the control and its buffer take the
  // grid's size and everything is drawn again at the next paint.
  void SetGridSize(int columns, int rows);
  // Draws the block of cells from (left, top) to (right, bottom) inclusive
  // into the buffer and asks for its area to be painted.
  void RedrawCells(int left, int top, int right, int bottom);
  void RedrawAll();

  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawAllCells();

  QImage buffer_;
  int line_width_ = 1;
  int columns_ = 5;
  int cell_width_ = 21;
  int rows_ = 5;
  int cell_height_ = 21;
  bool redraw_all_ = true;
};

}  // namespace vork
