#pragma once
// The learner's keys for sound: Ctrl+M mutes and unmutes, Ctrl+Up and
// Ctrl+Down make every course sound and media player louder or quieter. Each
// change is kept at once in the learner's sound settings file.

#include <string>

class QWidget;

namespace vork {

// Loads the level kept in `settings_path` and binds the keys in `window`.
void InstallVolumeKeys(QWidget* window, const std::string& settings_path);

}  // namespace vork
