#include "install/download_form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <cmath>

#include "install/download_estimator.h"
#include "platform/qt/qt_text.h"

namespace vork {
namespace {

QLabel* LabelAt(QWidget* parent, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->move(left, top);
  label->setMinimumWidth(360 - left);
  return label;
}

int RoundedKb(int64_t bytes) { return static_cast<int>(std::lround(bytes / 1024.0)); }

}  // namespace

TVkDownloadForm::TVkDownloadForm(const std::string& caption) {
  setWindowTitle(ToQString(caption));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(380, 146);
  status_ = LabelAt(this, "Starting download...", 12, 12);
  progress_ = new QProgressBar(this);
  progress_->setGeometry(12, 28, 356, 17);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  LabelAt(this, "Estimated time left:", 12, 56)->setMinimumWidth(110);
  time_left_ = LabelAt(this, "", 128, 56);
  LabelAt(this, "Transfer rate:", 12, 76)->setMinimumWidth(110);
  rate_ = LabelAt(this, "", 128, 76);
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setGeometry(143, 108, 69, 25);
  connect(cancel_, &QPushButton::clicked, this, [this] { cancel_requested_ = true; });
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TVkDownloadForm::closeEvent(QCloseEvent* event) { event->ignore(); }

void TVkDownloadForm::Refresh(int64_t received, int64_t content_length,
                              const TVkDownloadEstimator& estimator) {
  const int percent =
      content_length > 0 ? static_cast<int>(std::lround(received * 100.0 / content_length)) : 0;
  if (received > 0) {
    status_->setText(content_length > 0
                         ? QString::asprintf("Downloading (%d%% complete)...", percent)
                         : QString::asprintf("Downloading (%d KB copied)...", RoundedKb(received)));
  }
  progress_->setValue(std::clamp(percent, 0, 100));
  const int64_t left = estimator.SecondsLeft(content_length);
  time_left_->setText(left < 0 ? QString()
                               : QString::asprintf("%d min %d sec (%d of %d KB copied)",
                                                   static_cast<int>(left / 60),
                                                   static_cast<int>(left % 60), RoundedKb(received),
                                                   RoundedKb(content_length)));
  const double rate = estimator.Rate();
  rate_->setText(rate < 0 ? QString() : QString::asprintf("%0.2f KB/sec", rate / 1024));
}

QString TVkDownloadForm::StatusText() const { return status_->text(); }
QString TVkDownloadForm::TimeLeftText() const { return time_left_->text(); }
QString TVkDownloadForm::RateText() const { return rate_->text(); }
int TVkDownloadForm::Percent() const { return progress_->value(); }

}  // namespace vork
