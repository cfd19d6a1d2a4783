#include "windows/floating_form.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "objects/html/html_viewer.h"
#include "objects/picture_object.h"
#include "resources/qt_picture.h"

namespace vork {

TVkFloatingForm::TVkFloatingForm(QSize size, QRect close_area)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setFixedSize(size);
  setAttribute(Qt::WA_OpaquePaintEvent);
  close_area_ = new TVkButton(this);
  close_area_->setGeometry(close_area);
  close_area_->setCursor(Qt::PointingHandCursor);
  close_area_->SetTransparent(true);
  close_area_->OnMouseUp = [this](TMouseButton, TShiftState, int, int) { hide(); };
}

void TVkFloatingForm::LoadBackground(TVkResManager& resources, std::string_view name) {
  background_ = LoadBitmapImage(resources, name);
  update();
}

TVkHTMLViewer* TVkFloatingForm::NewViewer(QRect area, TVkResManager& resources) {
  auto* viewer = new TVkHTMLViewer(this, &resources);
  viewer->setGeometry(area);
  viewer->SetBorder(false);
  viewer->SetDefaultBackground(0xFFFFFF);
  viewer->SetSelectable(false);
  return viewer;
}

void TVkFloatingForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (!background_.isNull()) painter.drawImage(QPoint(0, 0), background_);
}

void TVkFloatingForm::mousePressEvent(QMouseEvent* event) {
  // A press on a free spot acts as a press on a caption: the window system
  // moves the window where it can, and we move it by hand where it cannot.
  // Presses on the close area reach us too (it does not take them); its
  // click must not become a drag.
  if (event->button() != Qt::LeftButton || close_area_->geometry().contains(event->position().toPoint())) return;
  if (windowHandle() && windowHandle()->startSystemMove()) return;
  dragging_ = true;
  drag_offset_ = event->position().toPoint();
}

void TVkFloatingForm::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) move(event->globalPosition().toPoint() - drag_offset_);
}

void TVkFloatingForm::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

}  // namespace vork
