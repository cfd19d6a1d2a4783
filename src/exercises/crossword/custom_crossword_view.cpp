#include "exercises/crossword/custom_crossword_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace vork {

TCrCustomCrosswordView::TCrCustomCrosswordView(QWidget* parent) : QWidget(parent) {
  // The buffer covers every pixel: nothing needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  SetGridSize(columns_, rows_);
}

QRect TCrCustomCrosswordView::CellRect(int x, int y) const {
  return {line_width_ + x * (cell_width_ + line_width_), line_width_ + y * (cell_height_ + line_width_),
          cell_width_, cell_height_};
}

QRect TCrCustomCrosswordView::OuterCellRect(int x, int y) const {
  return CellRect(x, y).adjusted(-line_width_, -line_width_, line_width_, line_width_);
}

QPoint TCrCustomCrosswordView::CellAt(QPoint point) const {
  const int x = point.x() / (line_width_ + cell_width_);
  const int y = point.y() / (line_width_ + cell_height_);
  return {std::clamp(x, 0, std::max(columns_ - 1, 0)), std::clamp(y, 0, std::max(rows_ - 1, 0))};
}

void TCrCustomCrosswordView::SetGridSize(int columns, int rows) {
  columns_ = columns;
  rows_ = rows;
  const int width = columns * cell_width_ + line_width_ * (columns + 1);
  const int height = rows * cell_height_ + line_width_ * (rows + 1);
  resize(width, height);
  buffer_ = QImage(width, height, QImage::Format_RGB32);
  buffer_.fill(Qt::black);
  RedrawAll();
}

void TCrCustomCrosswordView::RedrawAll() {
  redraw_all_ = true;
  update();
}

void TCrCustomCrosswordView::RedrawCells(int left, int top, int right, int bottom) {
  if (redraw_all_) return;
  QPainter canvas(&buffer_);
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) DrawCell(x, y, canvas);
  }
  update(OuterCellRect(left, top).united(OuterCellRect(right, bottom)).intersected(rect()));
}

void TCrCustomCrosswordView::DrawAllCells() {
  QPainter canvas(&buffer_);
  for (int y = 0; y < rows_; ++y) {
    for (int x = 0; x < columns_; ++x) DrawCell(x, y, canvas);
  }
  redraw_all_ = false;
}

QImage TCrCustomCrosswordView::Picture() {
  DrawAllCells();
  return buffer_;
}

void TCrCustomCrosswordView::paintEvent(QPaintEvent* event) {
  if (redraw_all_) DrawAllCells();
  QPainter screen(this);
  screen.drawImage(event->rect(), buffer_, event->rect());
}

}  // namespace vork
