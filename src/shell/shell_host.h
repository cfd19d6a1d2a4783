#pragma once
// The host of a real run: Qt's timers and waits (QtHost), the sound
// library, the picture dialogs, and the course's current user. A window run
// gives it the window boxes and shows button dialogs as windows; a
// transcript run gives it TranscriptBoxes, through which its button
// dialogs and picture dialogs are written and answered as lines.

#include <functional>

#include "platform/qt/qt_host.h"

namespace vork {

enum class DialogStyle { Windows, Transcript };

class ShellHost : public QtHost {
 public:
  ShellHost(MessageBoxes& boxes, DialogStyle dialogs) : boxes_(boxes), dialogs_(dialogs) {}

  MessageBoxes& Boxes() override { return boxes_; }
  int ButtonDialog(std::string_view message, std::string_view caption,
                   const std::vector<std::string>& buttons, DialogPlacement placement) override;
  std::optional<std::string> PictureDialog(const TVkDialog& dialog) override;
  SoundEngines* Sound() override;
  void SceneShown() override;
  TVkReg* CurrentUserSettings() override;

  // Called each time a scene has been shown (screenshots, scripted input).
  std::function<void()> on_scene_shown;

 private:
  MessageBoxes& boxes_;
  DialogStyle dialogs_;
};

}  // namespace vork
