#pragma once
// TVkDownloadForm: the progress window of a download, with its status, a
// progress bar, the time left, the transfer rate and a Cancel button that
// only raises CancelRequested (the download loop asks whether to stop).
// It refuses to be closed by the user; its owner deletes it.

#include <QDialog>
#include <cstdint>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vork {

class TVkDownloadEstimator;

class TVkDownloadForm : public QDialog {
  Q_OBJECT

 public:
  explicit TVkDownloadForm(const std::string& caption);

  bool CancelRequested() const { return cancel_requested_; }
  void ClearCancelRequest() { cancel_requested_ = false; }
  QPushButton* CancelButton() const { return cancel_; }

  void Refresh(int64_t received, int64_t content_length, const TVkDownloadEstimator& estimator);

  QString StatusText() const;
  QString TimeLeftText() const;
  QString RateText() const;
  int Percent() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override {}

 private:
  QLabel* status_;
  QProgressBar* progress_;
  QLabel* time_left_;
  QLabel* rate_;
  QPushButton* cancel_;
  bool cancel_requested_ = false;
};

}  // namespace vork
