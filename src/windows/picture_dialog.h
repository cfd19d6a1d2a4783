#pragma once
// The picture dialog: a modal, borderless window showing a course picture,
// optionally with an HTML text area over it, closed only by a click on one
// of its hot spots or by its timeout. TVkDialogForm is the window;
// RunPictureDialog shows one for a dialog record and answers the name of
// the hot spot that was clicked. Only hot spots that lie at least partly on
// the dialog count, and a dialog without area closes as soon as it is shown:
// no dialog waits for a click that cannot come.

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <string>
#include <vector>

#include "dialogs/dialog_hotspots.h"
#include "dialogs/dialog_record.h"
#include "objects/html/html_viewer.h"

class QTimer;

namespace vork {

class TVkResManager;

class TVkDialogForm : public QDialog {
 public:
  // Loads the picture (the resource manager's error when it cannot), places
  // the window on the screen and builds its text area. Not shown yet.
  TVkDialogForm(const TVkDialog& dialog, TVkResManager& resources, QWidget* parent = nullptr);

  // The name of the hot spot that closed the dialog; "" after a timeout, a
  // click on a dialog without hot spots, or on one without area.
  const std::string& Result() const { return result_; }
  // The hot spots a click can hit (ReachableHotspots).
  const std::vector<TVkHotspot>& Hotspots() const { return hotspots_; }
  // Null when the dialog has no text.
  TVkHTMLViewer* TextArea() const { return text_area_; }
  QWidget* PictureControl() const { return picture_control_; }

  // A mouse button released over the picture at (x, y), dialog coordinates.
  void PictureReleased(int x, int y);

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildTextArea(TVkResManager& resources);
  void StartTimer();
  void Finish(std::string result);

  TVkDialog dialog_;
  std::vector<TVkHotspot> hotspots_;
  QWidget* picture_control_ = nullptr;
  QPointer<TVkHTMLViewer> text_area_;
  QTimer* timer_ = nullptr;
  bool has_area_ = true;
  bool close_allowed_ = false;
  std::string result_;
};

// Shows the dialog modally over the main window and answers its result. In
// a transcript run the dialog is written and answered instead
// (dialog_transcript.h); its picture is loaded all the same, so a missing
// one fails as it would on screen.
std::string RunPictureDialog(const TVkDialog& dialog);

}  // namespace vork
