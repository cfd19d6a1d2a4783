#pragma once
// TVkFloatingForm: what the glossary and comment windows share. A small
// borderless window on top of the player with a background picture of its
// own, dragged by any free spot of it, and hidden (never destroyed) by a
// click on a transparent close area near its top-right corner.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <string_view>

namespace vork {

class TVkButton;
class TVkHTMLViewer;
class TVkResManager;

class TVkFloatingForm : public QWidget {
 public:
  // Hidden, black, size fixed; the close area at close_area.
  TVkFloatingForm(QSize size, QRect close_area);

  // The ".img" picture drawn from the top-left corner at its own size.
  void LoadBackground(TVkResManager& resources, std::string_view name);
  const QImage& Background() const { return background_; }
  TVkButton* CloseArea() const { return close_area_; }

 protected:
  // A viewer over `area` with the windows' own settings: no border, white,
  // no text selection, pictures from the course.
  TVkHTMLViewer* NewViewer(QRect area, TVkResManager& resources);

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QImage background_;
  TVkButton* close_area_;
  // Where the press that drags the window grabbed it, relative to the
  // window; only while dragging by hand (where the window system cannot).
  QPoint drag_offset_;
  bool dragging_ = false;
};

}  // namespace vork
