#pragma once
// StageZoom: shows the stage larger than its course size without changing
// it. The stage keeps its size in stage pixels; the window shows it at an
// integer factor (1, 2, 3, or the largest that fits the screen) or in full
// screen, centred with black bars. Integer factors keep the pictures sharp and
// let every window pixel belong to exactly one stage pixel.
//
// At factor 1 in a window the stage is a plain child of the main window, as it
// always was. Any other factor, or full screen, moves the stage into a
// graphics view that scales it; from then on it stays there (moving live
// controls back and forth gains nothing). Qt then delivers mouse positions in
// fractions of a stage pixel: the view snaps them to the stage pixel they lie
// in before the stage sees them, so hit tests do not drift.

#include <QObject>
#include <QPoint>
#include <QSize>

class QGraphicsView;
class QWidget;

namespace vork {

class StageHost;

class StageZoom : public QObject {
  Q_OBJECT

 public:
  static constexpr int kFit = 0;
  static constexpr int kLargest = 3;

  // window: the main window, of the stage's size; stage: its child at (0, 0).
  StageZoom(QWidget* window, QWidget* stage);
  ~StageZoom() override;

  // 1, 2, 3, or kFit. The window resizes (outside full screen).
  void SetZoom(int zoom);
  int Zoom() const { return zoom_; }
  void ZoomIn();
  void ZoomOut();
  void SetFullScreen(bool full_screen);
  bool FullScreen() const { return full_screen_; }

  // The factor the stage is shown at now.
  int Factor() const { return factor_; }
  // Where a stage pixel shows in the window: a point inside it, away from
  // its top-left corner wherever the factor allows.
  QPoint WindowPointOf(QPoint stage_point) const;

  // The largest integer factor at which `stage` fits into `room`, at least 1.
  static int FitFactor(QSize stage, QSize room);
  // The stage's top-left corner when a stage of `shown` size is centred in
  // a window of `window` size.
  static QPoint CentredOffset(QSize shown, QSize window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void InstallShortcuts();
  void Apply();
  void Host();
  void PlaceHost();
  QSize Room() const;

  QWidget* window_;
  QWidget* stage_;
  QSize stage_size_;
  StageHost* host_ = nullptr;
  int zoom_ = 1;
  int factor_ = 1;
  bool full_screen_ = false;
};

}  // namespace vork
