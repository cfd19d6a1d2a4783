#pragma once
// The button dialog of a window run: the question of a ButtonDialog call
// with one push button per caller's caption ("&" marks the key that presses
// it), a question icon, the caller's window title, and the caller's place on
// the screen. A transcript run does not install it; its questions are lines.

#include <QDialog>
#include <string>
#include <string_view>
#include <vector>

#include "platform/button_dialog.h"

class QPushButton;

namespace vork {

class ButtonDialogWindow : public QDialog {
 public:
  // An empty caption takes the active window's title.
  ButtonDialogWindow(std::string_view message, std::string_view caption,
                     const std::vector<std::string>& buttons);

  // The code of the button pressed: 11 for the first, 12, 13; 2 when the
  // dialog was closed (Escape, the window's close button) without a choice.
  int Answer() const { return answer_; }
  const std::vector<QPushButton*>& Buttons() const { return buttons_; }

  // Centred on the whole screen, or on the active window when asked for
  // that and there is one (else on the screen).
  void Place(DialogPlacement placement);

 private:
  std::vector<QPushButton*> buttons_;
  int answer_ = kDialogClosed;
};

// A window run's host asks its button dialogs here: shows the dialog
// modally and returns its answer.
int AskWithButtonDialogWindow(std::string_view message, std::string_view caption,
                              const std::vector<std::string>& buttons, DialogPlacement placement);

}  // namespace vork
