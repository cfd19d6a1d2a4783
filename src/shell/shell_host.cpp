#include "shell/shell_host.h"

// picture_dialog.h holds its text area by a QPointer, which needs the
// viewer's definition.
#include "objects/html/html_viewer.h"
#include "dialogs/picture_dialog.h"
#include "media/sound_library.h"
#include "objects/system_object.h"
#include "platform/qt/button_dialog_window.h"
#include "users/user.h"

namespace vork {

int ShellHost::ButtonDialog(std::string_view message, std::string_view caption,
                            const std::vector<std::string>& buttons, DialogPlacement placement) {
  if (dialogs_ == DialogStyle::Transcript) return QtHost::ButtonDialog(message, caption, buttons, placement);
  return AskWithButtonDialogWindow(message, caption, buttons, placement);
}

std::optional<std::string> ShellHost::PictureDialog(const TVkDialog& dialog) { return RunPictureDialog(dialog); }

SoundEngines* ShellHost::Sound() { return LoadedSoundLibrary(); }

void ShellHost::SceneShown() {
  if (on_scene_shown) on_scene_shown();
}

TVkReg* ShellHost::CurrentUserSettings() {
  TVkSystemObject* system = TVkSystemObject::Current();
  return system ? &system->User().Settings() : nullptr;
}

}  // namespace vork
