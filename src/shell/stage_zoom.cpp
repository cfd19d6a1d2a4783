#include "shell/stage_zoom.h"

#include <QApplication>
#include <QEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <algorithm>
#include <cmath>

#include "shell/form.h"
#include "shell/moved_mouse_event.h"

namespace vork {

// The graphics view that shows the stage scaled. Its size is exactly the
// scaled stage, so the scene's origin is the view's origin.
class StageHost : public QGraphicsView {
 public:
  explicit StageHost(QWidget* parent) : QGraphicsView(parent) {
    setScene(new QGraphicsScene(this));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setBackgroundBrush(Qt::black);
    // No smoothing: each stage pixel becomes a square of whole pixels.
    setRenderHints(QPainter::RenderHints());
  }

  void Embed(QWidget* stage) {
    stage->setParent(nullptr);
    proxy_ = scene()->addWidget(stage);
    proxy_->setPos(0, 0);
    scene()->setSceneRect(0, 0, stage->width(), stage->height());
  }

  void SetFactor(int factor) {
    factor_ = factor;
    setTransform(QTransform::fromScale(factor, factor));
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    Snapped(event, [this](QMouseEvent* e) { QGraphicsView::mousePressEvent(e); });
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    Snapped(event, [this](QMouseEvent* e) { QGraphicsView::mouseReleaseEvent(e); });
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    Snapped(event, [this](QMouseEvent* e) { QGraphicsView::mouseMoveEvent(e); });
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    Snapped(event, [this](QMouseEvent* e) { QGraphicsView::mouseDoubleClickEvent(e); });
  }

 private:
  // Hands on the event moved to the top-left corner of its stage pixel, which
  // the scale maps to a whole stage coordinate.
  template <typename Handler>
  void Snapped(QMouseEvent* event, Handler handle) {
    const QPointF at = event->position();
    const QPointF snapped(std::floor(at.x() / factor_) * factor_,
                          std::floor(at.y() / factor_) * factor_);
    if (snapped == at) {
      handle(event);
      return;
    }
    std::unique_ptr<QMouseEvent> moved = MovedMouseEvent(*event, snapped);
    handle(moved.get());
    event->setAccepted(moved->isAccepted());
  }

  QGraphicsProxyWidget* proxy_ = nullptr;
  int factor_ = 1;
};

StageZoom::StageZoom(QWidget* window, QWidget* stage)
    : QObject(window), window_(window), stage_(stage), stage_size_(stage->size()) {
  window_->installEventFilter(this);
  InstallShortcuts();
}

StageZoom::~StageZoom() = default;

int StageZoom::FitFactor(QSize stage, QSize room) {
  if (stage.isEmpty()) return 1;
  return std::max(1, std::min(room.width() / stage.width(), room.height() / stage.height()));
}

QPoint StageZoom::CentredOffset(QSize shown, QSize window) {
  return QPoint(std::max(0, (window.width() - shown.width()) / 2),
                std::max(0, (window.height() - shown.height()) / 2));
}

QPoint StageZoom::WindowPointOf(QPoint stage_point) const {
  const QPoint origin = host_ ? host_->pos() : QPoint();
  // The middle of the square, not its corner: a mapping that rounds instead
  // of taking the stage pixel a point lies in misses there.
  return origin + stage_point * factor_ + QPoint(factor_ / 2, factor_ / 2);
}

void StageZoom::InstallShortcuts() {
  struct Binding {
    QKeySequence keys;
    void (StageZoom::*action)();
  };
  const Binding bindings[] = {
      {QKeySequence(Qt::Key_F11), nullptr},
      {QKeySequence(Qt::CTRL | Qt::Key_Plus), &StageZoom::ZoomIn},
      {QKeySequence(Qt::CTRL | Qt::Key_Equal), &StageZoom::ZoomIn},
      {QKeySequence(Qt::CTRL | Qt::Key_Minus), &StageZoom::ZoomOut},
      {QKeySequence(Qt::CTRL | Qt::Key_0), nullptr},
  };
  for (const Binding& binding : bindings) {
    auto* shortcut = new QShortcut(binding.keys, window_);
    if (binding.action) {
      connect(shortcut, &QShortcut::activated, this, binding.action);
    } else if (binding.keys == QKeySequence(Qt::Key_F11)) {
      connect(shortcut, &QShortcut::activated, this, [this] { SetFullScreen(!full_screen_); });
    } else {
      connect(shortcut, &QShortcut::activated, this, [this] { SetZoom(1); });
    }
  }
}

void StageZoom::SetZoom(int zoom) {
  zoom_ = std::clamp(zoom, kFit, kLargest);
  Apply();
}

void StageZoom::ZoomIn() {
  // Fit is beyond the fixed factors: it is the largest the screen allows.
  if (zoom_ != kFit) SetZoom(zoom_ == kLargest ? kFit : zoom_ + 1);
}

void StageZoom::ZoomOut() {
  if (zoom_ == kFit) SetZoom(std::min(kLargest, FitFactor(stage_size_, Room())));
  else if (zoom_ > 1) SetZoom(zoom_ - 1);
}

void StageZoom::SetFullScreen(bool full_screen) {
  full_screen_ = full_screen;
  if (full_screen_) {
    window_->setMinimumSize(0, 0);
    window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window_->showFullScreen();
  } else if (window_->isFullScreen()) {
    window_->showNormal();
  }
  Apply();
}

QSize StageZoom::Room() const {
  QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
  if (!screen) return stage_size_;
  return full_screen_ ? screen->size() : screen->availableSize();
}

void StageZoom::Apply() {
  factor_ = full_screen_ || zoom_ == kFit ? FitFactor(stage_size_, Room()) : zoom_;
  if (factor_ != 1 || full_screen_) Host();
  if (host_) host_->SetFactor(factor_);
  if (!full_screen_) {
    const QSize shown = stage_size_ * factor_;
    window_->setFixedSize(shown);
    if (QScreen* screen = window_->screen())
      window_->move(TVkForm::CentredPosition(shown, screen->size()));
  }
  PlaceHost();
}

void StageZoom::Host() {
  if (host_) return;
  // The control that had the keyboard inside the stage keeps it.
  QWidget* focus = QApplication::focusWidget();
  const bool focus_in_stage = focus && (focus == stage_ || stage_->isAncestorOf(focus));
  host_ = new StageHost(window_);
  host_->Embed(stage_);
  host_->show();
  host_->setFocus();
  if (focus_in_stage) focus->setFocus();
}

void StageZoom::PlaceHost() {
  if (!host_) return;
  const QSize shown = stage_size_ * factor_;
  host_->setGeometry(QRect(CentredOffset(shown, window_->size()), shown));
}

bool StageZoom::eventFilter(QObject* watched, QEvent* event) {
  if (watched != window_) return QObject::eventFilter(watched, event);
  if (event->type() == QEvent::Resize) PlaceHost();
  // Keys reach the stage's controls only through the view that shows it,
  // so the view always holds the window's focus (the stage's controls keep
  // theirs inside it). Disabling the window, as every scene change does,
  // takes it away; enabling does not give it back.
  const bool regained = event->type() == QEvent::WindowActivate ||
                        (event->type() == QEvent::EnabledChange && window_->isEnabled());
  if (regained && host_ && !host_->hasFocus()) host_->setFocus(Qt::OtherFocusReason);
  return QObject::eventFilter(watched, event);
}

}  // namespace vork
