#include "windows/picture_dialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <cstdlib>
#include <limits>

#include "dialogs/dialog_placement.h"
#include "dialogs/dialog_transcript.h"
#include "objects/html/html_viewer.h"
#include "objects/stage_control.h"
#include "platform/message_boxes.h"
#include "platform/qt/main_form.h"
#include "resources/qt_picture.h"
#include "resources/res_manager.h"

namespace vork {

namespace {

constexpr int32_t kErrorBackground = 0x0000FF;  // red
constexpr int32_t kErrorFontColor = 0x00FFFF;   // yellow
constexpr char kPrefixError[] =
    "<b>ERROR:</b><br>Text parameter must be prefixed with FILE:, HTML: or TEXT:.";

// Paints the picture at its own size from the top-left corner; the dialog's
// colour shows wherever it does not reach.
class DialogPicture : public QWidget {
 public:
  DialogPicture(TVkDialogForm* form, QImage picture) : QWidget(form), form_(form), picture_(std::move(picture)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), picture_);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    if (rect().contains(at)) form_->PictureReleased(at.x(), at.y());
  }

 private:
  TVkDialogForm* form_;
  QImage picture_;
};

QSize ScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize(0, 0);
}

QImage LoadPicture(const TVkDialog& dialog, TVkResManager& resources) {
  return dialog.BitmapName.empty() ? QImage() : LoadBitmapImage(resources, dialog.BitmapName);
}

// Width and Height, 0 taking the picture's; a negative size has no area.
QSize DialogSize(const TVkDialog& dialog, const QImage& picture) {
  const int width = dialog.Width == 0 ? picture.width() : dialog.Width;
  const int height = dialog.Height == 0 ? picture.height() : dialog.Height;
  return QSize(std::max(width, 0), std::max(height, 0));
}

bool HasPrefix(const std::string& text, std::string_view prefix) { return text.compare(0, 5, prefix) == 0; }

}  // namespace

TVkDialogForm::TVkDialogForm(const TVkDialog& dialog, TVkResManager& resources, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), dialog_(dialog) {
  setModal(true);
  const QImage picture = LoadPicture(dialog_, resources);
  const QSize size = DialogSize(dialog_, picture);
  const int width = size.width();
  const int height = size.height();
  has_area_ = !size.isEmpty();
  hotspots_ = ReachableHotspots(ParseHotspots(dialog_.Hotspots), width, height);
  setAutoFillBackground(true);
  SetControlColor(this, QPalette::Window, dialog_.Color);

  const QSize screen = ScreenSize();
  const TVkDialogPosition at =
      PlaceDialog(dialog_.Area, width, height, dialog_.OffsetX, dialog_.OffsetY, screen.width(), screen.height());
  picture_control_ = new DialogPicture(this, picture);
  picture_control_->setGeometry(0, 0, width, height);
  setFixedSize(width, height);
  move(at.left, at.top);

  if (!dialog_.Text.empty()) BuildTextArea(resources);
  if (dialog_.Timeout != 0) StartTimer();
}

void TVkDialogForm::BuildTextArea(TVkResManager& resources) {
  TVkDialogRect area = dialog_.TextRect;
  if (area.Empty()) area = {0, 0, 20, 20};
  text_area_ = new TVkHTMLViewer(this, &resources);
  text_area_->setGeometry(area.left, area.top, area.Width(), area.Height());
  text_area_->SetDefaultBackground(dialog_.TextBackground);
  text_area_->SetDefaultFontSize(dialog_.FontSize);
  text_area_->SetDefaultFontColor(dialog_.FontColor);
  const std::string& text = dialog_.Text;
  const std::string_view content = std::string_view(text).substr(std::min<size_t>(5, text.size()));
  if (HasPrefix(text, "FILE:")) {
    text_area_->SetDefaultFontName(dialog_.FontName);
    text_area_->LoadDocument(content);
  } else if (HasPrefix(text, "HTML:")) {
    text_area_->SetDefaultFontName(dialog_.FontName);
    text_area_->LoadHtml(content);
  } else if (HasPrefix(text, "TEXT:")) {
    text_area_->SetDefaultPreFontName(dialog_.FontName);
    text_area_->LoadPlainText(content);
  } else {
    text_area_->SetDefaultBackground(kErrorBackground);
    text_area_->SetDefaultFontColor(kErrorFontColor);
    text_area_->LoadHtml(kPrefixError);
  }
}

void TVkDialogForm::StartTimer() {
  // |Timeout| in 64 bits: the most negative word has no positive partner.
  const int64_t interval = std::llabs(static_cast<int64_t>(dialog_.Timeout));
  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  timer_->setInterval(static_cast<int>(std::min<int64_t>(interval, std::numeric_limits<int>::max())));
  connect(timer_, &QTimer::timeout, this, [this] { Finish({}); });
  timer_->start();
}

void TVkDialogForm::PictureReleased(int x, int y) {
  if (dialog_.Timeout < 0) return;
  if (hotspots_.empty()) {
    Finish({});
    return;
  }
  if (const TVkHotspot* spot = HotspotAt(hotspots_, x, y)) Finish(spot->name);
}

void TVkDialogForm::Finish(std::string result) {
  if (timer_) timer_->stop();
  result_ = std::move(result);
  close_allowed_ = true;
  done(QDialog::Accepted);
}

void TVkDialogForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Nothing can be clicked on a dialog without area. Closed from the event
  // loop, not here: exec() shows the dialog before it starts its loop, and a
  // dialog closed in between would leave exec() waiting for ever.
  if (!has_area_) QTimer::singleShot(0, this, [this] { Finish({}); });
}

void TVkDialogForm::reject() {
  // Escape and the window system's close request: refused unless a hot
  // spot or the timeout has allowed it.
  if (close_allowed_) QDialog::reject();
}

void TVkDialogForm::closeEvent(QCloseEvent* event) {
  if (close_allowed_) QDialog::closeEvent(event);
  else event->ignore();
}

std::string RunPictureDialog(const TVkDialog& dialog) {
  if (auto* transcript = dynamic_cast<TranscriptBoxes*>(&Boxes())) {
    const QSize size = DialogSize(dialog, LoadPicture(dialog, ResManager()));
    return AnswerPictureDialog(*transcript, dialog,
                               ReachableHotspots(ParseHotspots(dialog.Hotspots), size.width(), size.height()),
                               !size.isEmpty());
  }
  TVkDialogForm form(dialog, ResManager(), MainForm());
  form.exec();
  return form.Result();
}

}  // namespace vork
